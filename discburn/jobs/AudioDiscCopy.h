#pragma once

#include "Lumetra.h"
#include "drives/Drive.h"
#include "mastering/BurnWindow.h"
#include "text/DiscText.h"
#include "writers/AudioTrack.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace velmora::discburn {

// The conversion library's disc rip, as the caller reaches it (linked, or bound at run time).
struct DiscRipFunctions {
    // BeginDiscRip for CD-format WAV files; the caller makes the request record, which is the library's.
    std::function<LumetraDiscRip*(char drive, const char* folder)> beginWav;
    Lumetra::RipDiscTrackFn ripTrack = nullptr;
    Lumetra::EndDiscRipFn end = nullptr;
    Lumetra::GetLastFailureFn lastFailure = nullptr;
    Lumetra::GetEncodedSecondsFn encodedSeconds = nullptr;
    Lumetra::CancelConversionsFn cancel = nullptr;
};

// What an audio CD's copy burns: its audio tracks in order and its CD-TEXT.
struct AudioDisc {
    std::vector<AudioTrack> tracks;
    DiscText text;
};

// Rips every audio track of the CD in the drive securely into WAVs of the folder. None when a
// track could not be read exactly or the user cancelled; the window has its result then.
std::optional<AudioDisc> RipAudioDisc(const platform::Drive& drive, const std::filesystem::path& folder,
                                      const DiscRipFunctions& rip, BurnWindow& window);

}  // namespace velmora::discburn
