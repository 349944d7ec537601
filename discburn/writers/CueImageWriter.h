#pragma once

#include "AudioDiscWriter.h"
#include "files/PendingFile.h"
#include "verify/ReadBack.h"

#include <filesystem>

namespace velmora::discburn {

// The audio CD as a BIN/CUE image: one BIN named like the CUE, tracks back to back with no
// pregap, each padded with silence to whole sectors and at least 4 seconds; the CD-TEXT as TITLE
// and PERFORMER lines. Both files appear only when the whole disc is written.
class CueImageWriter : public AudioDiscWriter {
public:
    explicit CueImageWriter(std::filesystem::path cue) : cue_(std::move(cue)), bin_(std::filesystem::path(cue_).replace_extension(".bin")) {}
    HResult Prepare() override;
    HResult WriteTracks(const std::vector<AudioTrack>& tracks, const DiscText& text, BurnWindow& window,
                        bool doNotFinalize) override;
    HResult Verify(BurnWindow& window, std::string& failure) override;

private:
    class Progress;
    HResult CopyTrack(const AudioTrack& track, int number, platform::PendingFile& binFile, Progress& progress,
                      WrittenTrack& written);

    std::filesystem::path cue_;
    std::filesystem::path bin_;   // the samples, beside the cue sheet
    std::vector<TrackOnMedia> written_;
};

}  // namespace velmora::discburn
