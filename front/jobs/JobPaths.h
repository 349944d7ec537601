#pragma once

#include "Lumetra.h"
#include "paths/PathParts.h"

#include <string>
#include <string_view>

namespace velmora::front {

// Copies the source and output paths into a conversion request; the reason when one does not
// fit (a path cut short would name another file), empty when both are in.
std::string SetRequestPaths(MediaLibrary::Header::MEDIACONVERSIONINFO& request, std::string_view source,
                            std::string_view output);

// Removes the folder with everything in it; failures are left alone.
void CleanUpFolder(const std::string& folder);

}  // namespace velmora::front
