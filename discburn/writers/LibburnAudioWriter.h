#pragma once

#include "AudioDiscWriter.h"
#include "mastering/Mastering.h"

namespace velmora::discburn {

// Audio tracks onto a CD in a recorder libburn drives, track at once, in one session.
class LibburnAudioWriter : public AudioDiscWriter {
public:
    explicit LibburnAudioWriter(HeldDrive& drive) : drive_(drive) {}
    HResult Prepare() override;
    HResult WriteTracks(const std::vector<AudioTrack>& tracks, BurnWindow& window, bool doNotFinalize) override;

private:
    HeldDrive& drive_;
};

}  // namespace velmora::discburn
