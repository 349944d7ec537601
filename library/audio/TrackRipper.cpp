#include "TrackRipper.h"

#include "CdAudioStream.h"
#include "RipProgress.h"
#include "accuraterip/TrackChecksums.h"
#include "Lumetra.h"
#include "interface/Failure.h"
#include "log/Log.h"
#include "settings/Settings.h"

#include <cdio/paranoia/cdda.h>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace MediaLibrary::Audio {
namespace {

constexpr int kBytesPerFrame = 4;   // 16-bit stereo
constexpr int kOffsetLimit = 10 * CdAudioStream::kFramesPerSector;
constexpr std::size_t kSectorsNamed = 10;

// What one rip has captured so far; each rip has its own, so nothing carries over between rips.
struct CaptureState {
    WaveWriter* output = nullptr;
    AccurateRip::TrackChecksums* checksums = nullptr;
    RipProgress* progress = nullptr;
    std::int64_t frames = 0;
    bool ended = false;
    bool failed = false;
    std::vector<unsigned char> swapped{};   // little-endian copy of a block on big-endian hosts
};

void* CaptureSamples(void*, void* toProcess, int sampleFrames, void* userData)
{
    auto& state = *static_cast<CaptureState*>(userData);
    if (state.ended || state.failed) return toProcess;
    const std::size_t bytes = static_cast<std::size_t>(sampleFrames) * kBytesPerFrame;
    const auto* samples = static_cast<const unsigned char*>(toProcess);
    if constexpr (std::endian::native == std::endian::big) {
        state.swapped.resize(bytes);
        for (std::size_t at = 0; at + 1 < bytes; at += 2) {
            state.swapped[at] = samples[at + 1];
            state.swapped[at + 1] = samples[at];
        }
        samples = state.swapped.data();
    }
    if (!state.output->Append(samples, bytes)) state.failed = true;
    if (state.checksums) state.checksums->Add(samples, static_cast<std::size_t>(sampleFrames));
    state.progress->Read(sampleFrames);
    state.frames += sampleFrames;
    return toProcess;
}

signed char TrackEnded(CdAudioStream*, void*, int, void* userData)
{
    static_cast<CaptureState*>(userData)->ended = true;
    return 1;
}

// The rip's result for a stream that did not open, its reason recorded.
int OpenFailure(CdAudioStream::OpenResult opened, const std::string& drive, const std::string& problem)
{
    switch (opened) {
    case CdAudioStream::OpenResult::NoDisc:
        return Refuse(problem, MediaLibrary::Result::kRipNoDisc);
    case CdAudioStream::OpenResult::ReaderUnusable:
        return Refuse("drive " + drive + " cannot deliver CD audio", MediaLibrary::Result::kRipReaderUnusable);
    case CdAudioStream::OpenResult::ReaderNotInitialised:
    case CdAudioStream::OpenResult::Opened:
        break;
    }
    return Refuse("the CD audio reader cannot start on drive " + drive, MediaLibrary::Result::kRipNotInitialised);
}

// The first and last audio tracks of the disc, and the track's place among the audio tracks.
struct AudioPlace {
    bool first = false, last = false;
    int position = 0;
};

AudioPlace PlaceOf(const CdAudioStream& stream, int track)
{
    AudioPlace place;
    CdIo_t* disc = stream.Native();
    const int firstNumber = cdio_get_first_track_num(disc);
    std::optional<int> firstAudio;
    int lastAudio = 0;
    for (int number = firstNumber; number < firstNumber + stream.GetNumSubStreams(); ++number) {
        if (cdio_get_track_format(disc, static_cast<track_t>(number)) != TRACK_FORMAT_AUDIO) continue;
        if (!firstAudio) firstAudio = number;
        lastAudio = number;
        if (number <= track) ++place.position;
    }
    place.first = firstAudio == track;
    place.last = lastAudio == track;
    return place;
}

std::string Clock(std::int64_t sectors)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d.%02d", static_cast<int>(sectors / 75 / 60), static_cast<int>(sectors / 75 % 60),
                  static_cast<int>(sectors % 75));
    return text;
}

// Reads the selected track to its end; 0 or the failure, its reason recorded.
int Capture(CdAudioStream& stream, CaptureState& capture, const std::string& name)
{
    stream.SetCapture(CaptureSamples, &capture);
    stream.SetEndCallback(TrackEnded, &capture);
    if (!stream.Play())
        return Refuse("the CD audio reader cannot start on track " + name, MediaLibrary::Result::kRipNotInitialised);
    while (!capture.ended && !capture.failed) {
        if (capture.progress->Cancelled()) return Refuse(std::string("cancelled"), MediaLibrary::Result::kRipNoDisc);
        if (!stream.Update())
            return Refuse("track " + name + " cannot be read to its end", MediaLibrary::Result::kRipNoDisc);
    }
    if (capture.failed) return Refuse(capture.output->Failure(), MediaLibrary::Result::kRipNotInitialised);
    return 0;
}

// "sectors 1200, 1201 and 1450 (from 0:16.00 into the track)": where a track was not read exactly.
std::string DescribeSectors(const std::vector<std::int32_t>& sectors, std::int32_t trackStart)
{
    if (sectors.empty()) return {};
    std::string text = sectors.size() == 1 ? "sector " : "sectors ";
    const std::size_t named = std::min(sectors.size(), kSectorsNamed);
    for (std::size_t at = 0; at < named; ++at) {
        if (at > 0) text += at + 1 == named && named == sectors.size() ? " and " : ", ";
        text += std::to_string(sectors[at]);
    }
    if (named < sectors.size()) text += " and " + std::to_string(sectors.size() - named) + " more";
    return text + " (from " + Clock(std::max<std::int64_t>(0, sectors.front() - trackStart)) + " into the track)";
}

}  // namespace

int ReadOffsetSetting()
{
    const int offset = velmora::platform::Settings::Load().GetInt("ReadOffset", 0);
    if (std::abs(offset) <= kOffsetLimit) return offset;
    LogMessage(1, "The ReadOffset setting %d is beyond any drive's (%d samples either way); no offset is applied", offset,
               kOffsetLimit);
    return 0;
}

TrackRead ReadTrack(char drive, int track, int readOffset, WaveWriter& output, RipProgress& progress,
                    Checksums taken)
{
    TrackRead read;
    const std::string driveName{drive, ':'};
    const std::string name = driveName + std::to_string(track);
    CdAudioStream stream;
    std::string problem;
    if (const auto opened = stream.Open(drive, &problem); opened != CdAudioStream::OpenResult::Opened)
        return read.result = OpenFailure(opened, driveName, problem), read;
    const int tracks = stream.GetNumSubStreams();
    const int first = cdio_get_first_track_num(stream.Native());
    if (track < first || track - first >= tracks || !stream.SetSubStream(track - first))
        return read.result = Refuse("there is no audio track " + name + " (the disc has " + std::to_string(tracks) +
                                        " tracks)", MediaLibrary::Result::kRipTrackOutOfRange), read;
    if (!output.IsOpen()) return read.result = Refuse(output.Failure(), MediaLibrary::Result::kRipNotInitialised), read;
    const AudioPlace place = PlaceOf(stream, track);
    read.audioPosition = place.position;
    stream.SetReadOffset(readOffset);
    AccurateRip::TrackChecksums checksums(stream.TrackFrames(), place.first, place.last);
    CaptureState capture{.output = &output,
                         .checksums = taken == Checksums::Taken ? &checksums : nullptr,
                         .progress = &progress};
    read.result = Capture(stream, capture, name);
    read.frames = capture.frames;
    read.crc32 = checksums.Crc32();
    read.arV1 = checksums.V1();
    read.arV2 = checksums.V2();
    read.skipped = stream.SkippedSectors();
    if (read.result == 0 && !read.skipped.empty()) {
        const auto start = cdio_get_track_lsn(stream.Native(), static_cast<track_t>(track));
        read.result = Refuse("track " + name + " could not be read exactly: " + DescribeSectors(read.skipped, start) +
                                 " failed to read or to verify",
                             MediaLibrary::Result::kRipNoDisc);
    }
    return read;
}

}  // namespace MediaLibrary::Audio
