#pragma once

#include "AudioDiscWriter.h"
#include "recorders/RecorderDevice.h"
#include "verify/Sha256.h"

namespace velmora::discburn {

// Audio tracks onto a CD in a recorder libburn drives, in one session.
class LibburnAudioWriter : public AudioDiscWriter {
public:
    explicit LibburnAudioWriter(CRecorderDevice& recorder) : recorder_(recorder) {}
    HResult Prepare() override;
    HResult WriteTracks(const std::vector<AudioTrack>& tracks, const DiscText& text, BurnWindow& window,
                        bool doNotFinalize) override;
    HResult Verify(BurnWindow& window, std::string& failure) override;

private:
    CRecorderDevice& recorder_;
    std::vector<AudioTrack> tracks_;
    std::vector<WrittenTrack> written_;
};

}  // namespace velmora::discburn
