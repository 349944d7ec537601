#include "CdTrack.h"

#include "CdAudioStream.h"
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

// The rip's result for a stream that did not open, told to the log.
int OpenFailure(CdAudioStream::OpenResult opened, const char* drive)
{
    switch (opened) {
    case CdAudioStream::OpenResult::NoDisc:
        LogMessage(1, "No disc can be read in drive %s", drive);
        return MediaLibrary::Result::kRipNoDisc;
    case CdAudioStream::OpenResult::ReaderUnusable:
        LogMessage(1, "Drive %s cannot deliver CD audio", drive);
        return MediaLibrary::Result::kRipReaderUnusable;
    case CdAudioStream::OpenResult::ReaderNotInitialised:
    case CdAudioStream::OpenResult::Opened:
        break;
    }
    LogMessage(1, "The CD audio reader cannot start on drive %s", drive);
    return MediaLibrary::Result::kRipNotInitialised;
}

// Reads the selected track to its end into the writer and completes the WAV file; 0 or the rip's failure.
int CaptureTrack(CdAudioStream& stream, WaveWriter& output, const char* outputName)
{
    CaptureState capture;
    capture.output = &output;
    stream.SetCapture(CaptureSamples, &capture);
    stream.SetEndCallback(TrackEnded, &capture);
    if (!stream.Play()) return MediaLibrary::Result::kRipNotInitialised;
    while (!capture.ended && !capture.failed) {
        if (!stream.Update()) return MediaLibrary::Result::kRipNoDisc;
    }
    if (capture.failed) {
        LogMessage(1, "Writing %s failed after %u bytes", outputName, output.DataLength());
        return MediaLibrary::Result::kRipNotInitialised;
    }
    if (!output.Finish()) {
        LogMessage(1, "The WAV file %s cannot be completed", outputName);
        return MediaLibrary::Result::kRipNotInitialised;
    }
    return 0;
}

}  // namespace

CCDTrack::CCDTrack(const Header::MEDIACONVERSIONINFO& request) : CMediaLibrary(request)
{
}

int CCDTrack::Prepare()
{
    // A field without its terminator names nothing: "", never a null view for memcpy.
    const auto source = FieldText(m_request.szSourceFile).value_or(std::string_view(""));
    const auto drive = source.substr(0, 2);
    std::memcpy(szDrive, drive.data(), drive.size());
    szDrive[drive.size()] = '\0';
    nTrack = source.size() > 2 ? ParseTrackNumber(source.substr(2)) : 0;
    return 0;
}

int CCDTrack::Convert()
{
    WaveWriter output;
    if (!output.Open(m_request.szOutputFile)) {
        LogMessage(1, "The WAV file %s cannot be created; track not ripped", m_request.szOutputFile);
        return MediaLibrary::Result::kRipNotInitialised;
    }
    if (szDrive[1] != ':') {
        LogMessage(1, "%s names no CD drive", m_request.szSourceFile);
        return MediaLibrary::Result::kRipNoDisc;
    }
    CdAudioStream stream;
    if (const auto opened = stream.Open(szDrive[0]); opened != CdAudioStream::OpenResult::Opened)
        return OpenFailure(opened, szDrive);
    const int tracks = stream.GetNumSubStreams();
    if (nTrack < 1 || nTrack - 1 >= tracks || !stream.SetSubStream(nTrack - 1)) {
        LogMessage(1, "Track (%s) is not an audio track of the %d on drive %s", m_request.szSourceFile + 2, tracks,
                   szDrive);
        return MediaLibrary::Result::kRipTrackOutOfRange;
    }
    if (const int captured = CaptureTrack(stream, output, m_request.szOutputFile); captured != 0) return captured;
    LogMessage(2, "Ripped track %d of drive %s: %u bytes", nTrack, szDrive, output.DataLength());
    return 0;
}

}  // namespace MediaLibrary::Audio
