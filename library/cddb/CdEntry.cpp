#include "CdEntry.h"

#include "CddbText.h"
#include "RecordText.h"

#include <cctype>

namespace CDDB {

CCdEntry::CCdEntry(MediaLibrary::Header::CD_TEXT_INFO* tracks, int count, const std::vector<std::string>& lines)
    : pTracks(tracks), nTrackCount(tracks && count > 0 ? count : 0), m_trackTitles(static_cast<std::size_t>(nTrackCount))
{
    if (pTracks) ParseEntry(lines);
}

void CCdEntry::AppendTrackTitle(const std::string& key, const std::string& value)
{
    long track = 0;
    for (std::size_t at = 6; at < key.size() && std::isdigit(static_cast<unsigned char>(key[at])); ++at) {
        track = track * 10 + (key[at] - '0');
        if (track >= nTrackCount) return;   // also keeps huge numbers from overflowing
    }
    if (track < nTrackCount) trackTitles[track] += value;
}

void CCdEntry::WriteRecords()
{
    for (const auto& [track, title] : trackTitles) {
        m_trackTitles[static_cast<std::size_t>(track)] = CleanText(title);
        MediaLibrary::AppendFieldTextCut(pTracks[track].szTitle, m_trackTitles[static_cast<std::size_t>(track)]);
    }
    for (int track = 0; track < nTrackCount; ++track) {
        pTracks[track].szArtist[0] = '\0';
        MediaLibrary::AppendFieldTextCut(pTracks[track].szArtist, strArtistTitle);
    }
}

bool CCdEntry::ParseEntry(std::vector<std::string> lines)
{
    for (const auto& line : lines) {
        if (line.empty() || line.front() == '#') continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "DISCID") strDiscIdField = value;
        else if (key == "DTITLE") strArtistTitle += value;
        else if (key == "DYEAR") strYear = value;
        else if (key == "DGENRE") strGenre += value;
        else if (key == "EXTD") strExtd += value;
        else if (key == "PLAYORDER") strPlayOrder += value;
        else if (key.starts_with("TTITLE")) AppendTrackTitle(key, value);
    }

    if (const auto separator = strArtistTitle.find(" / "); separator != std::string::npos) {
        strDiscTitle = CleanText(std::string_view(strArtistTitle).substr(separator + 3));
        strArtistTitle = CleanText(std::string_view(strArtistTitle).substr(0, separator));
    } else {
        strArtistTitle = strDiscTitle = CleanText(strArtistTitle);
    }
    WriteRecords();
    return true;
}

}  // namespace CDDB
