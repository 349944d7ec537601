#pragma once

#include <filesystem>
#include <string>

namespace velmora::platform {

enum class DriveKind {
    OpticalDevice,   // a real drive, /dev/sr0 and the like
    DiscImage,       // a BIN/CUE image, addressed by its .cue file
    IsoImage,        // an ISO 9660 image: a data disc whose sectors are the file
    Folder,          // a folder standing for a mounted data disc
};

// One lettered CD drive and what stands behind it.
struct Drive {
    char letter = 0;
    DriveKind kind = DriveKind::OpticalDevice;
    std::filesystem::path source;

    // The root text the window lists and its handlers work with, "D:\".
    std::string Root() const { return std::string{letter, ':', '\\'}; }
};

}  // namespace velmora::platform
