#pragma once

#include "writers/AudioTrack.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace velmora::front {

// The CD audio a burn-list file gives as a track: a CD-format WAV as it is, an MP3 converted to
// a WAV in the folder through the library. None for anything else (other WAVs included).
std::optional<discburn::AudioTrack> GetBurnStream(const std::filesystem::path& file,
                                                  const std::filesystem::path& conversionFolder);

}  // namespace velmora::front
