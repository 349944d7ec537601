#pragma once

#include "DiscTitles.h"
#include "Lumetra.h"
#include "RipLog.h"
#include "accuraterip/DiscIds.h"
#include "accuraterip/Lookup.h"
#include "audio/CdDrive.h"

#include <filesystem>
#include <memory>
#include <string>

namespace MediaLibrary::Audio {
struct TrackRead;
}

namespace MediaLibrary::Rip {

// One track of a disc rip: its file, or why there is none, and what the database says of it.
struct RippedTrack {
    int number = 0;
    int result = 0;                        // 0, or the rip's failure code, its reason recorded
    std::filesystem::path file{};
    std::int64_t frames = 0;
    std::uint32_t crc32 = 0, arV1 = 0, arV2 = 0;
    AccurateRip::TrackVerdict verdict{};
    std::string verdictText{};
};

// The rip of an audio disc, track by track, into named files (WAV, or MP3 with tags) in one folder,
// each verified against the AccurateRip database, and a rip log beside them at the end. The tray
// stays locked while it lasts.
class DiscRip {
public:
    // Reads the disc's table of contents and titles (its CD-TEXT, else the CDDB entry chosen for it)
    // and asks the AccurateRip server about it; none when the disc or the folder cannot be used,
    // the reason recorded. The quality fields and nOutputFormat (1 WAV, else MP3) of the request count.
    static std::unique_ptr<DiscRip> Begin(char drive, const std::filesystem::path& folder,
                                          const Header::MEDIACONVERSIONINFO& quality);

    // Rips the track (its number on the disc) into its file, never replacing another file.
    RippedTrack RipTrack(int number);
    // Writes the rip log into the folder; its path, or empty with the reason recorded.
    std::filesystem::path Finish();

private:
    DiscRip(char drive, std::filesystem::path folder, const Header::MEDIACONVERSIONINFO& quality);
    bool Open();
    std::string FileName(int number) const;
    int WriteWav(int number, const std::string& name, Audio::TrackRead& read, std::filesystem::path& file);
    int WriteMp3(int number, const std::string& name, Audio::TrackRead& read, std::filesystem::path& file);
    AccurateRip::TrackVerdict Verdict(int audioPosition, std::uint32_t v1, std::uint32_t v2) const;
    std::string DatabaseText() const;

    char drive_;
    std::filesystem::path folder_;
    Header::MEDIACONVERSIONINFO quality_;
    std::unique_ptr<velmora::platform::CdDevice> device_;
    velmora::platform::CDROM_TOC toc_{};
    AccurateRip::DiscIds ids_;
    std::string cddbQuery_;
    DiscTitles titles_;
    AccurateRip::LookupResult lookup_;
    RipLogFacts log_;
};

}  // namespace MediaLibrary::Rip
