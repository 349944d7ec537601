#pragma once

#include "BurnWindow.h"

#include <string>

namespace velmora::discburn {

// The status line for a write's progress, in the window's language (its UI texts): the action
// table of data writes, a text per phase and track for audio writes, "N of M MB written - T left"
// while writing and "Verifying... N of M MB checked" while reading back. Empty when the status
// line is to stay as it is.
std::string ProgressStatusText(const WriteProgress& progress, bool audio, BurnWindow& window);

}  // namespace velmora::discburn
