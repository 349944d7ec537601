#pragma once

#include "jobs/AudioDiscCopy.h"

#include <filesystem>
#include <optional>
#include <string>

namespace velmora::front {

// The disc rip of the library the window bound; none when any of its exports is missing.
std::optional<discburn::DiscRipFunctions> LibraryDiscRip();

}  // namespace velmora::front
