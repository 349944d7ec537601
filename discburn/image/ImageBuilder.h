#pragma once

#include "mastering/BurnWindow.h"
#include "ImageStream.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace velmora::discburn {

// One top-level item of an image: a file under its own name, or a folder by its own name with
// everything in it.
struct ImageEntry {
    std::filesystem::path path;
    bool folder = false;
};

// Builds an ISO 9660 level 3 image with Joliet and Rock Ridge whose volume name is the window's
// date stamp. Reports to the window as it goes; on failure it has sent its own result and gives none.
std::unique_ptr<ImageStream> BuildImage(BurnWindow& window, const std::vector<ImageEntry>& entries);

// The burn list's paths, in order: folders as folders, anything else as a file.
std::unique_ptr<ImageStream> BuildImageFromList(BurnWindow& window, const std::vector<std::filesystem::path>& paths);

}  // namespace velmora::discburn
