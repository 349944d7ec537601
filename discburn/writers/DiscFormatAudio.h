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
    // False only when the write could not start; its outcome is in hr and errorText.
    bool BurnTracks(BurnWindow* window, const std::vector<AudioTrack>& tracks);

    HResult hr = kOk;
    std::string errorText;
    BurnWindow* notifyWindow = nullptr;
    bool doNotFinalize = true;   // leave the disc open after the last track

private:
    std::unique_ptr<AudioDiscWriter> writer_;
};

}  // namespace velmora::discburn
