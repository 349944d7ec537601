#pragma once

#include "AudioTrack.h"
#include "mastering/BurnResult.h"
#include "mastering/BurnWindow.h"

#include <vector>

namespace velmora::discburn {

// Where an audio CD goes: a disc in a recorder, or a BIN/CUE image.
class AudioDiscWriter {
public:
    virtual ~AudioDiscWriter() = default;
    // Checks that the media can take audio tracks.
    virtual HResult Prepare() = 0;
    // Writes the tracks in order, reporting audio write actions; kCancelled when the window said stop.
    virtual HResult WriteTracks(const std::vector<AudioTrack>& tracks, BurnWindow& window, bool doNotFinalize) = 0;
};

}  // namespace velmora::discburn
