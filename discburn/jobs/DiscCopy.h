#pragma once

#include "image/ImageBuilder.h"

#include <string>
#include <vector>

namespace velmora::discburn {

enum class CopySource { DataDisc, AudioCd, NoMedia };

// What a copy of the disc in a drive holds: the top-level files and folders of a data disc, in the
// order the drive lists them. The drive is named by its root ("E:\").
CopySource DiscCopyEntries(const std::string& driveRoot, std::vector<ImageEntry>& entries);

}  // namespace velmora::discburn
