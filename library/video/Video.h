#pragma once

#include "MediaLibrary.h"

namespace MediaLibrary::Video {

// The video converter: the plain command for every target, the PAL DVD command for code 11.
// It also authors DVD-Video folders (DvdAuthor.cpp).
class CAVI : public CMediaLibrary {
public:
    using CMediaLibrary::CMediaLibrary;
    int RunDvdAuthor() override;
    int Convert() override;
};

// Only measures play lengths.
class CMPG : public CMediaLibrary {
public:
    using CMediaLibrary::CMediaLibrary;
};

}  // namespace MediaLibrary::Video
