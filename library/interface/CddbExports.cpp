// The CDDB exports: failures reach the user as message boxes titled "Error", and their reason
// through GetLastFailure.

#include "audio/CdDrive.h"
#include "Failure.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "MessageBox.h"
#include "cddb/ReadCDDB.h"

#include <optional>

namespace {

// The client's own words when it has them; the exception's otherwise.
std::string ReasonOf(const std::optional<CDDB::CReadCDDB>& client, const std::exception& error)
{
    return client && !client->Problem().empty() ? client->Problem() : error.what();
}

}  // namespace

extern "C" {

LUMETRA_API int ReadCDDB(char drive, std::vector<CDDB::CQueryResult*>* matches)
{
    MediaLibrary::ClearFailure();
    if (!matches) return MediaLibrary::Refuse("no list was given for the CDDB matches", 0);
    CDDB::CCDTrack disc(drive);
    std::optional<CDDB::CReadCDDB> client;
    try {
        // Shown to the user already; the result stays 1, with no matches.
        if (!disc.OpenAndVerify()) {
            const std::string reason = std::string("drive ") + drive + ": cannot be read (no such drive, or no disc)";
            return MediaLibrary::Refuse(reason, 1);
        }
        const auto query = disc.BuildQueryString();
        LogMessage(4, "ReadCDDB: querying %s", query.c_str());
        client.emplace();
        CDDB::Matches found;
        const auto code = client->Query(query, found);
        if ((code == "200" || code == "211") && !found.empty()) {
            for (auto& match : found) matches->push_back(match.release());
        } else {
            FreeCDDBMatches(matches);
            MediaLibrary::Fail(client->Problem());
            MediaLibrary::ShowMessageBox("Query unsuccessful: " + code, "Error");
        }
        return 1;
    } catch (const std::exception& error) {
        FreeCDDBMatches(matches);
        MediaLibrary::Fail(ReasonOf(client, error));
        MediaLibrary::ShowMessageBox(std::string("CD Drive is not ready or cannot read cd. Details: ") + error.what(),
                                     "Error");
        return 0;
    }
}

LUMETRA_API int GetCDEntry(MediaLibrary::Header::CD_TEXT_INFO* tracks, int count, const CDDB::CQueryResult* match)
{
    MediaLibrary::ClearFailure();
    std::optional<CDDB::CReadCDDB> client;
    try {
        client.emplace();
        const auto code = client->ReadEntry(match, tracks, count);
        LogMessage(4, "GetCDEntry: cddb read answered %s", code.c_str());
        if (code == "210") return 1;
        MediaLibrary::Fail(client->Problem());
        MediaLibrary::ShowMessageBox("Failed to read CD Entry. Details: " + client->Problem(), "Error");
        return 0;
    } catch (const std::exception& error) {
        MediaLibrary::Fail(ReasonOf(client, error));
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
