#include "CdTrack.h"

#include "CdAudioStream.h"
#include "interface/Failure.h"
#include "log/Log.h"
#include "RecordText.h"
#include "WaveWriter.h"

#include <bit>
#include <cstring>
#include <vector>

namespace MediaLibrary::Audio {
namespace {

constexpr int kBytesPerFrame = 4;   // 16-bit stereo

// What one rip has captured so far; each rip has its own, so nothing carries over between rips.
struct CaptureState {
    WaveWriter* output = nullptr;
    bool ended = false;
    bool failed = false;
    std::vector<unsigned char> swapped;   // little-endian copy of a block on big-endian hosts
};

void* CaptureSamples(void*, void* toProcess, int sampleFrames, void* userData)
{
    auto& state = *static_cast<CaptureState*>(userData);
    if (state.ended || state.failed) return toProcess;
    const std::size_t bytes = static_cast<std::size_t>(sampleFrames) * kBytesPerFrame;
    const void* samples = toProcess;
    if constexpr (std::endian::native == std::endian::big) {
        state.swapped.resize(bytes);
        const auto* in = static_cast<const unsigned char*>(toProcess);
        for (std::size_t at = 0; at + 1 < bytes; at += 2) {
            state.swapped[at] = in[at + 1];
            state.swapped[at + 1] = in[at];
        }
        samples = state.swapped.data();
    }
    if (!state.output->Append(samples, bytes)) state.failed = true;
    return toProcess;
}

signed char TrackEnded(CdAudioStream*, void*, int, void* userData)
{
    static_cast<CaptureState*>(userData)->ended = true;
    return 1;
}

// Digits only, and no more than a disc can hold; 0 otherwise.
std::int32_t ParseTrackNumber(std::string_view text)
{
    if (text.empty()) return 0;
    std::int32_t number = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9') return 0;
        number = number * 10 + (digit - '0');
        if (number > CCDTrack::kMaxTrack) return 0;
    }
    return number;
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

// Reads the selected track to its end into the writer and puts the WAV file in place; 0 or the
// rip's failure, its reason recorded.
int CaptureTrack(CdAudioStream& stream, WaveWriter& output, const std::string& track)
{
    CaptureState capture;
    capture.output = &output;
    stream.SetCapture(CaptureSamples, &capture);
    stream.SetEndCallback(TrackEnded, &capture);
    if (!stream.Play())
        return Refuse("the CD audio reader cannot start on track " + track, MediaLibrary::Result::kRipNotInitialised);
    while (!capture.ended && !capture.failed) {
        if (!stream.Update())
            return Refuse("track " + track + " cannot be read to its end", MediaLibrary::Result::kRipNoDisc);
    }
    if (capture.failed || !output.Finish()) return Refuse(output.Failure(), MediaLibrary::Result::kRipNotInitialised);
    return 0;
}

}  // namespace

CCDTrack::CCDTrack(const Header::MEDIACONVERSIONINFO& request) : CMediaLibrary(request)
{
}

int CCDTrack::Prepare()
{
    const auto source = FieldText(m_request.szSourceFile).value_or(std::string_view{});
    const auto drive = source.substr(0, 2);
    std::memcpy(szDrive, drive.data(), drive.size());
    szDrive[drive.size()] = '\0';
    nTrack = source.size() > 2 ? ParseTrackNumber(source.substr(2)) : 0;
    return 0;
}

int CCDTrack::Convert()
{
    if (szDrive[1] != ':')
        return Refuse(std::string(m_request.szSourceFile) + " names no CD drive", MediaLibrary::Result::kRipNoDisc);
    const std::string drive = szDrive;
    const std::string track = drive + (m_request.szSourceFile + 2);
    CdAudioStream stream;
    std::string problem;
    if (const auto opened = stream.Open(szDrive[0], &problem); opened != CdAudioStream::OpenResult::Opened)
        return OpenFailure(opened, drive, problem);
    const int tracks = stream.GetNumSubStreams();
    if (nTrack < 1 || nTrack - 1 >= tracks || !stream.SetSubStream(nTrack - 1))
        return Refuse("there is no audio track " + track + " (the disc has " + std::to_string(tracks) + " tracks)",
                      MediaLibrary::Result::kRipTrackOutOfRange);
    WaveWriter output(m_request.szOutputFile);
    if (!output.IsOpen()) return Refuse(output.Failure(), MediaLibrary::Result::kRipNotInitialised);
    if (const int captured = CaptureTrack(stream, output, track); captured != 0) return captured;
    LogMessage(2, "Ripped track %s: %u bytes", track.c_str(), output.DataLength());
    return 0;
}

}  // namespace MediaLibrary::Audio
