#pragma once

#include <filesystem>
#include <string_view>

namespace MediaLibrary {

constexpr std::string_view kEncoderTool = "ffmpeg";

// The full path of an external program (beside the executable, else on PATH); empty when missing.
std::filesystem::path GetToolPath(std::string_view tool);

}  // namespace MediaLibrary
