#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::discburn {

enum class RecorderKind {
    Drive,       // an optical recorder libburn drives, "/dev/sr0"
    ImageFile,   // libburn's own pseudo-drive: a data disc written into a file, "stdio:/path/disc.iso"
    CueImage,    // our audio-CD recorder writing a BIN/CUE image, "cue:/path/disc.cue"
};

// A recorder's unique id taken apart.
struct RecorderAddress {
    RecorderKind kind = RecorderKind::Drive;
    std::string uniqueId;
    std::filesystem::path path;   // the device or the file

    static constexpr std::string_view kImagePrefix = "stdio:";
    static constexpr std::string_view kCuePrefix = "cue:";

    // None for an empty id, a relative path or a pseudo recorder without a path.
    static std::optional<RecorderAddress> Parse(std::string_view uniqueId);
};

// The pseudo recorders of VELMORA_RECORDERS (or the setting "Recorders"): ids separated by ';'.
std::vector<std::string> ConfiguredPseudoRecorders();
std::vector<std::string> SplitRecorderList(std::string_view list);

}  // namespace velmora::discburn
