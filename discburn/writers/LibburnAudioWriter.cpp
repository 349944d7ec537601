#include "LibburnAudioWriter.h"

#include "mastering/TimeLeft.h"
#include "verify/ReadBack.h"

#include <memory>

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
    HeldDrive* drive = recorder_.Drive();
    if (!drive) return recorder_.hr;
    return drive->Status() == MediaStatus::Blank ? kOk : kNoMedia;
}

HResult LibburnAudioWriter::WriteTracks(const std::vector<AudioTrack>& tracks, const DiscText& text, BurnWindow& window,
                                        bool doNotFinalize)
{
    written_.clear();
    if (tracks.empty()) return kOk;
    HeldDrive* drive = recorder_.Drive();
    if (!drive) return recorder_.hr;
    std::vector<WriteTrack> layout;
    std::vector<std::shared_ptr<TrackHash>> hashes;
    for (const auto& track : tracks) {
        hashes.push_back(std::make_shared<TrackHash>());
        layout.push_back({nullptr, track.file, track.offset, track.length, PaddedTrackBytes(track.length), hashes.back()});
    }
    TimeLeft timeLeft;
    const HResult hr = drive->Write(
        layout, true, !doNotFinalize,
        [&window, &timeLeft](const WriteTick& tick) {
            return window.SendProgress({AudioActionOf(tick.phase), tick.track, tick.trackCount, tick.bytesDone,
                                        tick.bytesTotal, timeLeft.Seconds(tick.bytesDone, tick.bytesTotal)}) != 0;
        },
        &text);
    if (hr >= 0)
        for (const auto& hash : hashes) written_.push_back(hash->Result());
    return hr;
}

HResult LibburnAudioWriter::Verify(BurnWindow& window, std::string& failure)
{
    // A fresh hold of the drive reads the table of contents the disc has now.
    recorder_.LetGoOfDrive();
    HeldDrive* drive = recorder_.Drive();
    const auto starts = drive ? drive->TrackStartSectors() : std::vector<std::uint64_t>();
    if (starts.size() != written_.size()) {
        failure = WithCode(("Verification failed! The disc holds " + std::to_string(starts.size()) + " tracks of the " +
                            std::to_string(written_.size()) + " written. Error:0x%08x").c_str(),
                           kReadBackFailed);
        return kReadBackFailed;
    }
    std::vector<TrackOnMedia> tracks;
    for (std::size_t at = 0; at < starts.size(); ++at) tracks.push_back({starts[at] * kCdSectorBytes, written_[at]});
    return VerifyTracks(tracks, AudioReader(*drive), window, kAudioVerifying, failure);
}

}  // namespace velmora::discburn
