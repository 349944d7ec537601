#pragma once

#include "AudioTrack.h"
#include "mastering/BurnResult.h"
#include "mastering/BurnWindow.h"
#include "text/DiscText.h"

#include <string>
#include <vector>

namespace velmora::discburn {

// Where an audio CD goes: a disc in a recorder, or a BIN/CUE image.
class AudioDiscWriter {
public:
    virtual ~AudioDiscWriter() = default;
    // Checks that the media can take audio tracks.
    virtual HResult Prepare() = 0;
    // Writes the tracks in order with the text as CD-TEXT, reporting audio write actions; the disc
    // is closed unless doNotFinalize. kCancelled when the window said stop; kWrittenWithoutCdText or
    // kCdTextDoesNotFit when the tracks were written without the text.
    virtual HResult WriteTracks(const std::vector<AudioTrack>& tracks, const DiscText& text, BurnWindow& window,
                                bool doNotFinalize) = 0;
    // Reads the tracks of the last write back and compares them with what was written; the
    // failure in words.
    virtual HResult Verify(BurnWindow& window, std::string& failure) = 0;
};

}  // namespace velmora::discburn
