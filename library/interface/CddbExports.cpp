// The CDDB exports: failures reach the user as message boxes titled "Error".

#include "Log.h"
#include "Lumetra.h"
#include "MessageBox.h"
#include "ReadCDDB.h"

extern "C" {

LUMETRA_API int GetCDEntry(MediaLibrary::Header::CD_TEXT_INFO* tracks, int count, const CDDB::CQueryResult* match)
{
    try {
        CDDB::CReadCDDB client;
        const auto code = client.ReadEntry(match, tracks, count);
        LogMessage(4, "GetCDEntry: cddb read answered %s", code.c_str());
        return 1;
    } catch (const std::exception& error) {
        MediaLibrary::ShowMessageBox(std::string("Failed to read CD Entry. Details: ") + error.what(), "Error");
        return 0;
    }
}

LUMETRA_API void FreeCDDBMatches(std::vector<CDDB::CQueryResult*>* matches)
{
    if (!matches) return;
    for (auto* match : *matches) delete match;
    matches->clear();
}

}  // extern "C"
