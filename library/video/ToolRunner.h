#pragma once

#include <filesystem>
#include <string_view>

namespace MediaLibrary {

constexpr std::string_view kEncoderTool = "ffmpeg";

// The full path of an external program (beside the executable, else on PATH); empty when missing.
std::filesystem::path GetToolPath(std::string_view tool);

// A file of the given fixed name in the user's private temporary folder; empty (and logged)
// when there is no such folder.
std::filesystem::path TempFilePath(std::string_view name);

}  // namespace MediaLibrary
