#pragma once

#include "jobs/AudioDiscCopy.h"

#include <filesystem>
#include <optional>
#include <string>

namespace velmora::front {

// Decodes an MP3 into a CD-format WAV through the library the window bound; the reason in words
// when it cannot (the burn engine's Mp3Decoder).
std::string DecodeMp3WithLibrary(const std::filesystem::path& mp3, const std::filesystem::path& wave);

// The disc rip of the library the window bound; none when any of its exports is missing.
std::optional<discburn::DiscRipFunctions> LibraryDiscRip();

}  // namespace velmora::front
