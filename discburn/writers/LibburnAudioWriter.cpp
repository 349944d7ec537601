#include "LibburnAudioWriter.h"

#include "mastering/TimeLeft.h"
#include "verify/ReadBack.h"

#include <algorithm>
#include <fstream>
#include <memory>

namespace velmora::discburn {
namespace {

constexpr std::uint64_t kSearchSectors = 4;                 // a drive reads audio up to ±2352 samples off
constexpr std::uint64_t kSoundSearchBytes = 10 * 176400;    // the first 10 seconds of each track

// A sector's worth of the sound written (not silence), with its track and its place in it.
struct Sound {
    std::size_t track = 0;
    std::uint64_t at = 0;
    std::vector<unsigned char> bytes;
};

std::optional<Sound> FirstSound(const std::vector<AudioTrack>& tracks)
{
    for (std::size_t index = 0; index < tracks.size(); ++index) {
        std::ifstream in(tracks[index].file, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(tracks[index].offset));
        Sound sound{index, 0, std::vector<unsigned char>(kCdSectorBytes)};
        const std::uint64_t end = std::min(tracks[index].length, kSoundSearchBytes);
        for (; sound.at + kCdSectorBytes <= end; sound.at += kCdSectorBytes) {
            if (!in.read(reinterpret_cast<char*>(sound.bytes.data()), kCdSectorBytes)) break;
            if (std::any_of(sound.bytes.begin(), sound.bytes.end(), [](unsigned char byte) { return byte != 0; }))
                return sound;
        }
    }
    return std::nullopt;
}

// How far off the drive reads the disc from where it was written, in bytes: found by the first
// sound written; 0 on a silent disc, none when the sound is not near its place.
std::optional<std::int64_t> ReadShift(HeldDrive& drive, const std::vector<AudioTrack>& tracks,
                                      const std::vector<std::uint64_t>& starts)
{
    const auto sound = FirstSound(tracks);
    if (!sound) return 0;
    const std::uint64_t sector = starts[sound->track] + sound->at / kCdSectorBytes;
    const std::uint64_t from = sector > kSearchSectors ? sector - kSearchSectors : 0;
    std::vector<unsigned char> around((sector - from + kSearchSectors + 1) * kCdSectorBytes);
    if (!drive.ReadAudio(from, around.data(), around.size() / kCdSectorBytes)) return std::nullopt;
    return FindAudioShift(around, (sector - from) * kCdSectorBytes, sound->bytes);
}

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
    tracks_ = tracks;
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
    if (!drive || starts.empty() || starts.size() != written_.size()) {
        failure = WithCode(("Verification failed! The disc holds " + std::to_string(starts.size()) + " tracks of the " +
                            std::to_string(written_.size()) + " written. Error:0x%08x").c_str(),
                           kReadBackFailed);
        return kReadBackFailed;
    }
    // Drives read audio some samples off; the tracks are compared where the drive shows them.
    const auto shift = ReadShift(*drive, tracks_, starts);
    if (!shift || static_cast<std::int64_t>(starts.front() * kCdSectorBytes) + *shift < 0) {
        failure = WithCode("Verification failed! The disc does not hold the sound written. Error:0x%08x", kVerifyMismatch);
        return kVerifyMismatch;
    }
    std::vector<TrackOnMedia> tracks;
    for (std::size_t at = 0; at < starts.size(); ++at) {
        const auto offset = static_cast<std::int64_t>(starts[at] * kCdSectorBytes) + *shift;
        tracks.push_back({static_cast<std::uint64_t>(offset), written_[at]});
    }
    return VerifyTracks(tracks, AudioReader(*drive), window, kAudioVerifying, failure);
}

}  // namespace velmora::discburn
