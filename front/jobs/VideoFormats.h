#pragma once

#include "core/LumetraBinding.h"

#include <string_view>

namespace velmora::front {

// One format radio of the Video Converter: the export that converts to it and the extension
// its output and preview copy take (the encoder chooses the container by that extension).
struct VideoFormat {
    int radio;
    Export conversion;
    std::string_view extension;   // without the dot
};

// Null for a radio that is not a format.
const VideoFormat* FindVideoFormat(int radio);

}  // namespace velmora::front
