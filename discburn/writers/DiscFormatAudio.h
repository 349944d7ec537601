#pragma once

#include "AudioDiscWriter.h"
#include "mastering/BurnResult.h"
#include "mastering/BurnWindow.h"
#include "recorders/RecorderDevice.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::discburn {

// Writes an audio CD: through libburn onto a disc, or as a BIN/CUE image for a "cue:" recorder.
class CDiscFormatAudio {
public:
    bool Initialize(CRecorderDevice* recorder, const std::string& clientName);
    // False only when the write could not start; its outcome is in hr and errorText. The text
    // goes onto the disc as CD-TEXT; when it could not, hr is positive and errorText says so.
    bool BurnTracks(BurnWindow* window, const std::vector<AudioTrack>& tracks, const DiscText& text = {});
    // Reads the tracks just written back and compares them with what was written; false when
    // nothing was. The outcome is in hr and errorText.
    bool Verify(BurnWindow* window);

    HResult hr = kOk;
    std::string errorText;
    BurnWindow* notifyWindow = nullptr;
    bool doNotFinalize = false;   // true leaves the disc open after the last track, for more to be added

private:
    std::unique_ptr<AudioDiscWriter> writer_;
};

// The part of a successful write (a result above kOk) that is not on the disc, in words; empty
// when all of it is.
std::string WhatWasLeftOff(HResult hr);

}  // namespace velmora::discburn
