#pragma once

#include <filesystem>

namespace velmora::platform {

// The folder of the process's main executable (not of a library loaded into it).
std::filesystem::path ExecutableFolder();

// $XDG_STATE_HOME, else ~/.local/state; empty when neither can be known.
std::filesystem::path UserStateFolder();

}  // namespace velmora::platform
