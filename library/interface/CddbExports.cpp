// The CDDB exports: failures reach the user as message boxes titled "Error".

#include "audio/CdDrive.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "MessageBox.h"
#include "cddb/ReadCDDB.h"

extern "C" {

LUMETRA_API int ReadCDDB(char drive, std::vector<CDDB::CQueryResult*>* matches)
{
    if (!matches) return 0;
    CDDB::CCDTrack disc(drive);
    try {
        if (!disc.OpenAndVerify()) return 1;   // the drive's trouble has been shown
        const auto query = disc.BuildQueryString();
        LogMessage(4, "ReadCDDB: querying %s", query.c_str());
        CDDB::CReadCDDB client;
        CDDB::Matches found;
        const auto code = client.Query(query, found);
        if (code == "200" || code == "210" || code == "211") {
            for (auto& match : found) matches->push_back(match.release());
        } else {
            FreeCDDBMatches(matches);
            MediaLibrary::ShowMessageBox("Query unsuccessful: " + code, "Error");
        }
        return 1;
    } catch (const std::exception& error) {
        FreeCDDBMatches(matches);
        LogMessage(1, "ReadCDDB: %s", error.what());
        MediaLibrary::ShowMessageBox(std::string("CD Drive is not ready or cannot read cd. Details: ") + error.what(),
                                     "Error");
        return 0;
    }
}

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
