#pragma once

#include "video/MediaLibrary.h"

#include <cstdint>

namespace MediaLibrary::Audio {

class RipProgress;

// Rips one track of an audio CD ("D:3" in szSourceFile) into the WAV file szOutputFile.
class CCDTrack : public CMediaLibrary {
public:
    static constexpr int kMaxTrack = 99;

    explicit CCDTrack(const Header::MEDIACONVERSIONINFO& request);

    // Takes the drive and the track number from the source; a number that is not all digits
    // or not a possible track leaves the track 0, which Convert refuses.
    int Prepare() override;
    int Convert() override;

    // Where the rip tells how far it has got; its own when none is given.
    void SetProgress(RipProgress& progress) { m_progress = &progress; }

    int TrackNumber() const { return nTrack; }
    const char* Drive() const { return szDrive; }

private:
    std::int32_t nTrack = 0;
    char szDrive[3] = {};
    RipProgress* m_progress = nullptr;
};

}  // namespace MediaLibrary::Audio
