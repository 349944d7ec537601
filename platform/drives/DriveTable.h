#pragma once

#include "Drive.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

enum class DriveType {
    NoRootDir,   // no drive with that letter
    CdRom,
};

// The lettered CD drives: real optical drives as D, E, F, ... in device order, then the virtual
// drives of VELMORA_DRIVES (or the setting "Drives"), "X=/path/disc.cue;Y=/path/folder;Z=/path/disc.iso",
// which take the place of a real drive of the same letter.
class DriveTable {
public:
    static constexpr const char* kVariable = "VELMORA_DRIVES";
    static constexpr const char* kSetting = "Drives";

    static DriveTable Load();
    static DriveTable FromParts(const std::vector<std::filesystem::path>& devices, std::string_view virtualDrives);

    // In letter order.
    const std::vector<Drive>& Drives() const { return drives_; }
    const Drive* Find(char letter) const;
    // A root or any path on a drive: "D:\", "D:", "D:\Track01.cda".
    const Drive* FindByPath(std::string_view path) const;
    DriveType TypeOfRoot(std::string_view root) const;

    // Names of the files in a drive's root that match the pattern's last part ("D:\*.cda"),
    // case ignored. An audio disc holds one TrackNN.cda per audio track; a data disc the files
    // of its mount point or of the folder it stands for.
    std::vector<std::string> FindFiles(std::string_view pattern) const;

    // Up to limit bytes from the start of a file on a drive ("D:\Track01.cda"); a path that
    // names no drive is read from the file system. None when there is no such file.
    std::optional<std::string> ReadFileHead(std::string_view path, std::size_t limit) const;

private:
    std::vector<Drive> drives_;
};

// An audio track of the disc in a drive: its number on the disc and where it lies, in sectors.
struct AudioTrackPlace {
    int number;
    int startSector;
    int lengthSectors;
};

// The audio tracks of the disc in the drive, in disc order; none without a readable disc.
std::vector<AudioTrackPlace> AudioTracksOf(const Drive& drive);

// The letter of a drive path ("D:", "d:\x"), upper case; none for any other text.
std::optional<char> DriveLetterOf(std::string_view path);

}  // namespace velmora::platform
