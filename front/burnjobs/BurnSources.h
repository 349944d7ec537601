#pragma once

#include "writers/AudioTrack.h"

#include <filesystem>
#include <string>
#include <variant>

namespace velmora::front {

// The CD audio a burn-list file gives as a track: a CD-format WAV as it is, an MP3 converted to
// a WAV in the folder through the library. For anything else (other WAVs included), the reason
// in words.
std::variant<discburn::AudioTrack, std::string> PrepareBurnTrack(const std::filesystem::path& file,
                                                                 const std::filesystem::path& conversionFolder);

}  // namespace velmora::front
