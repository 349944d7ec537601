#pragma once

#include "drives/Drive.h"
#include "mastering/BurnWindow.h"

#include <filesystem>

namespace velmora::discburn {

// Copies a data disc into an image file, which appears only when the copy is whole: the sectors
// of its data track as they are (a folder drive, which has no sectors, as an image of its files).
// Progress and the cancel request go through the window; a failure has sent its result.
HResult CopyDataDisc(const platform::Drive& drive, const std::filesystem::path& image, BurnWindow& window);

}  // namespace velmora::discburn
