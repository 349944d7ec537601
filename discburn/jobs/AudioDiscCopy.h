#pragma once

#include "Lumetra.h"
#include "drives/Drive.h"
#include "mastering/BurnWindow.h"
#include "jobs/TrackSources.h"

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

// Rips every audio track of the CD in the drive securely into WAVs of the folder. None when a
// track could not be read exactly or the user cancelled; the window has its result then.
std::optional<AudioDisc> RipAudioDisc(const platform::Drive& drive, const std::filesystem::path& folder,
                                      const DiscRipFunctions& rip, BurnWindow& window);

}  // namespace velmora::discburn
