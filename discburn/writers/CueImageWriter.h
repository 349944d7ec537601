#pragma once

#include "AudioDiscWriter.h"

#include <filesystem>

namespace velmora::discburn {

// The audio CD as a BIN/CUE image: one BIN named like the CUE, tracks back to back with no
// pregap, each padded with silence to whole sectors and at least 4 seconds. Both files appear
// only when the whole disc is written.
class CueImageWriter : public AudioDiscWriter {
public:
    explicit CueImageWriter(std::filesystem::path cue) : cue_(std::move(cue)) {}
    HResult Prepare() override;
    HResult WriteTracks(const std::vector<AudioTrack>& tracks, BurnWindow& window, bool doNotFinalize) override;

private:
    std::filesystem::path cue_;
};

}  // namespace velmora::discburn
