#pragma once

#include <filesystem>
#include <string_view>

namespace velmora::platform {

// An external program: the one beside the executable when there is one, else the first on PATH.
// Empty when neither exists.
std::filesystem::path FindTool(std::string_view name);

}  // namespace velmora::platform
