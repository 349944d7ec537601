#pragma once

#include "Lumetra.h"

#include <map>
#include <string>
#include <vector>

namespace CDDB {

// A CDDB entry (KEY=value lines): keeps the disc values and writes each track title and the
// disc artist into the caller's track records. Titles and artists come cleaned (CleanText).
class CCdEntry {
public:
    // With records given, parses a copy of the lines at once.
    CCdEntry(MediaLibrary::Header::CD_TEXT_INFO* tracks, int count, const std::vector<std::string>& lines);
    virtual ~CCdEntry() = default;

    bool ParseEntry(std::vector<std::string> lines);

    const std::string& DiscIdField() const { return strDiscIdField; }
    const std::string& Artist() const { return strArtistTitle; }
    const std::string& DiscTitle() const { return strDiscTitle; }
    const std::string& Year() const { return strYear; }
    const std::string& Genre() const { return strGenre; }
    const std::string& ExtendedData() const { return strExtd; }
    const std::string& PlayOrder() const { return strPlayOrder; }
    // Each record's title in full, as the entry gives it (the records hold what fits).
    const std::vector<std::string>& TrackTitles() const { return m_trackTitles; }

private:
    void AppendTrackTitle(const std::string& key, const std::string& value);
    void WriteRecords();

    std::string strDiscIdField;
    std::string strArtistTitle;
    std::string strDiscTitle;
    std::string strYear;
    std::string strGenre;
    std::string strExtd;
    std::string strPlayOrder;
    // A title may go on over several lines, split anywhere, even inside a character: it is
    // cleaned only once whole.
    std::map<long, std::string> trackTitles;
    MediaLibrary::Header::CD_TEXT_INFO* pTracks;
    int nTrackCount;
    std::vector<std::string> m_trackTitles;
};

}  // namespace CDDB
