#include "LibburnAudioWriter.h"

namespace velmora::discburn {
namespace {

int AudioActionOf(WritePhase phase)
{
    switch (phase) {
    case WritePhase::Starting:
        return kAudioPreparing;
    case WritePhase::Writing:
        return kAudioWriting;
    case WritePhase::Closing:
        return kAudioFinishing;
    }
    return kAudioUnknown;
}

}  // namespace

HResult LibburnAudioWriter::Prepare()
{
    return drive_.Status() == MediaStatus::Blank ? kOk : kNoMedia;
}

HResult LibburnAudioWriter::WriteTracks(const std::vector<AudioTrack>& tracks, BurnWindow& window, bool doNotFinalize)
{
    if (tracks.empty()) return kOk;
    std::vector<WriteTrack> layout;
    for (const auto& track : tracks)
        layout.push_back({nullptr, track.file, track.offset, track.length, PaddedTrackBytes(track.length)});
    return drive_.Write(layout, true, !doNotFinalize, [&window](const WriteTick& tick) {
        return window.SendProgress({AudioActionOf(tick.phase), tick.track, tick.trackCount}) != 0;
    });
}

}  // namespace velmora::discburn
