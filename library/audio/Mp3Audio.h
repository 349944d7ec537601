#pragma once

#include "video/MediaLibrary.h"

namespace MediaLibrary::Audio {

// Decodes an MP3 file into the output's format (WAV, by its extension).
class CMp3Audio : public CMediaLibrary {
public:
    using CMediaLibrary::CMediaLibrary;
    int Convert() override;
};

}  // namespace MediaLibrary::Audio
