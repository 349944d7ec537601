// The CDDB exports: failures reach the user as message boxes titled "Error", and their reason
// through GetLastFailure. A disc's own CD-TEXT stands in for the server when it has some, and the
// entry read for a disc is kept for its rips.

#include "audio/CdDrive.h"
#include "cddb/CdEntry.h"
#include "cddb/ReadCDDB.h"
#include "Failure.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "MessageBox.h"
#include "RecordText.h"
#include "rip/DiscTitles.h"

#include <optional>

using MediaLibrary::Header::CD_TEXT_INFO;
using MediaLibrary::Rip::DiscTitles;

namespace {

constexpr const char* kCdTextCategory = "cd-text";

// The drive that the records' paths name ("D:\Track01.cda"); 0 when they name none.
char DriveOfRecords(const CD_TEXT_INFO* tracks, int count)
{
    if (!tracks || count < 1) return 0;
    const auto path = MediaLibrary::FieldText(tracks[0].szPath);
    return path && path->size() > 2 && (*path)[1] == ':' ? (*path)[0] : 0;
}

// The disc in the drive: its CDDB query text and its CD-TEXT; none when it cannot be read.
struct DiscFacts {
    std::string query;
    std::optional<DiscTitles> cdText;
};

std::optional<DiscFacts> ReadDiscFacts(char drive)
{
    CDDB::CCDTrack disc(drive);
    if (!drive || !disc.OpenDrive()) return std::nullopt;
    return DiscFacts{disc.BuildQueryString(), MediaLibrary::Rip::ReadCdText(disc.Device()->Native())};
}

void WriteTitles(const DiscTitles& titles, CD_TEXT_INFO* tracks, int count)
{
    for (int track = 0; track < count; ++track) {
        MediaLibrary::AppendFieldTextCut(tracks[track].szTitle, titles.TrackTitle(static_cast<std::size_t>(track)));
        tracks[track].szArtist[0] = '\0';
        MediaLibrary::AppendFieldTextCut(tracks[track].szArtist, titles.artist);
    }
}

DiscTitles TitlesOf(const CDDB::CCdEntry& entry, const CDDB::CQueryResult& match)
{
    return {.source = "CDDB " + match.strCategory + " " + match.strDiscId,
            .artist = entry.Artist(),
            .album = entry.DiscTitle(),
            .year = entry.Year(),
            .genre = entry.Genre(),
            .tracks = entry.TrackTitles()};
}

// A match of the "cd-text" kind: the titles come from the disc, as ReadCDDB found them.
int ReadCdTextEntry(char drive, CD_TEXT_INFO* tracks, int count)
{
    const auto disc = ReadDiscFacts(drive);
    if (!disc || !disc->cdText) {
        const std::string reason = "the disc has no CD-TEXT any more";
        MediaLibrary::Fail(reason);
        MediaLibrary::ShowMessageBox("Failed to read CD Entry. Details: " + reason, "Error");
        return 0;
    }
    WriteTitles(*disc->cdText, tracks, count);
    MediaLibrary::Rip::RememberChosenTitles(drive, disc->query, *disc->cdText);
    return 1;
}

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
    MediaLibrary::Rip::ForgetChosenTitles(drive);
    CDDB::CCDTrack disc(drive);
    std::optional<CDDB::CReadCDDB> client;
    try {
        // Shown to the user already; the result stays 1, with no matches.
        if (!disc.OpenAndVerify()) {
            const std::string reason = std::string("drive ") + drive + ": cannot be read (no such drive, or no disc)";
            return MediaLibrary::Refuse(reason, 1);
        }
        const auto query = disc.BuildQueryString();
        if (const auto cdText = MediaLibrary::Rip::ReadCdText(disc.Device()->Native())) {
            LogMessage(2, "ReadCDDB: the disc names itself in its CD-TEXT; no server is asked");
            matches->push_back(new CDDB::CQueryResult{"200", kCdTextCategory, query.substr(0, query.find('+')),
                                                      cdText->artist, cdText->album});
            return 1;
        }
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

LUMETRA_API int GetCDEntry(CD_TEXT_INFO* tracks, int count, const CDDB::CQueryResult* match)
{
    MediaLibrary::ClearFailure();
    std::optional<CDDB::CReadCDDB> client;
    try {
        const char drive = DriveOfRecords(tracks, count);
        if (match && match->strCategory == kCdTextCategory) return ReadCdTextEntry(drive, tracks, count);
        client.emplace();
        CDDB::CCdEntry entry(nullptr, 0, {});
        const auto code = client->ReadEntry(match, tracks, count, &entry);
        LogMessage(4, "GetCDEntry: cddb read answered %s", code.c_str());
        if (code == "210") {
            if (const auto disc = drive ? ReadDiscFacts(drive) : std::nullopt)
                MediaLibrary::Rip::RememberChosenTitles(drive, disc->query, TitlesOf(entry, *match));
            return 1;
        }
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
