#pragma once

#include "writers/AudioTrack.h"
#include "mastering/BurnWindow.h"
#include "image/ImageStream.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace velmora::front {

class CBaseObject;

// The image of list entries: a folder entry becomes a top-level folder by its own name, a file
// entry a top-level file. None when the build failed or was cancelled (it has sent its result).
std::unique_ptr<discburn::ImageStream> BuildImageFromEntries(discburn::BurnWindow& window,
                                                             const std::vector<const CBaseObject*>& entries);

// The CD audio a burn-list file gives as a track: a CD-format WAV as it is, an MP3 converted to
// a WAV in the folder through the library. None for anything else (other WAVs included).
std::optional<discburn::AudioTrack> GetBurnStream(const std::filesystem::path& file,
                                                  const std::filesystem::path& conversionFolder);

}  // namespace velmora::front
