#pragma once

#include "Lumetra.h"

namespace MediaLibrary {

// Whether a conversion request may be run: both paths whole (a path cut to fit its field would
// name another file), an output named, and not the source itself (the output is deleted first).
// Logs why not, under the export's name.
bool RequestPathsUsable(const Header::MEDIACONVERSIONINFO& request, const char* exportName);

}  // namespace MediaLibrary
