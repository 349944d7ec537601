// The CDDB exports: failures reach the user as message boxes titled "Error". A disc's own CD-TEXT
// stands in for the server when it has some, and the entry read for a disc is kept for its rips.

#include "audio/CdDrive.h"
#include "cddb/CdEntry.h"
#include "cddb/ReadCDDB.h"
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
        MediaLibrary::ShowMessageBox("Failed to read CD Entry. Details: the disc has no CD-TEXT any more", "Error");
        return 0;
    }
    WriteTitles(*disc->cdText, tracks, count);
    MediaLibrary::Rip::RememberChosenTitles(drive, disc->query, *disc->cdText);
    return 1;
}

}  // namespace

extern "C" {

LUMETRA_API int ReadCDDB(char drive, std::vector<CDDB::CQueryResult*>* matches)
{
    if (!matches) return 0;
    MediaLibrary::Rip::ForgetChosenTitles(drive);
    CDDB::CCDTrack disc(drive);
    try {
        if (!disc.OpenAndVerify()) return 1;   // the drive's trouble has been shown
        const auto query = disc.BuildQueryString();
        if (const auto cdText = MediaLibrary::Rip::ReadCdText(disc.Device()->Native())) {
            LogMessage(2, "ReadCDDB: the disc names itself in its CD-TEXT; no server is asked");
            matches->push_back(new CDDB::CQueryResult{"200", kCdTextCategory, query.substr(0, query.find('+')),
                                                      cdText->artist, cdText->album});
            return 1;
        }
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

LUMETRA_API int GetCDEntry(CD_TEXT_INFO* tracks, int count, const CDDB::CQueryResult* match)
{
    try {
        const char drive = DriveOfRecords(tracks, count);
        if (match && match->strCategory == kCdTextCategory) return ReadCdTextEntry(drive, tracks, count);
        CDDB::CReadCDDB client;
        CDDB::CCdEntry entry(nullptr, 0, {});
        const auto code = client.ReadEntry(match, tracks, count, &entry);
        LogMessage(4, "GetCDEntry: cddb read answered %s", code.c_str());
        if (code == "210" && drive) {
            if (const auto disc = ReadDiscFacts(drive))
                MediaLibrary::Rip::RememberChosenTitles(drive, disc->query, TitlesOf(entry, *match));
        }
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
