#include "RipProgress.h"

#include <atomic>

namespace MediaLibrary::Audio {
namespace {

enum Phase : int { kNone, kReading, kReadingHalf, kEncoding };

constexpr double kFramesPerSecond = 44100;

std::atomic<int> phase{kNone};
std::atomic<std::int64_t> framesRead{0};
std::atomic<unsigned> cancelGeneration{0};

}  // namespace

RipProgress::RipProgress(bool encodedAfter) : generation_(cancelGeneration.load())
{
    framesRead = 0;
    phase = encodedAfter ? kReadingHalf : kReading;
}

RipProgress::~RipProgress()
{
    phase = kNone;
    framesRead = 0;
}

void RipProgress::Read(std::int64_t sampleFrames)
{
    framesRead += sampleFrames;
}

void RipProgress::Encoding()
{
    phase = kEncoding;
}

bool RipProgress::Cancelled() const
{
    return cancelGeneration.load() != generation_;
}

std::optional<double> RipProgress::Seconds(double encodedSeconds)
{
    const double read = static_cast<double>(framesRead.load()) / kFramesPerSecond;
    switch (phase.load()) {
    case kReading: return read;
    case kReadingHalf: return read / 2;
    case kEncoding: return (read + encodedSeconds) / 2;
    default: return std::nullopt;
    }
}

void RipProgress::CancelRips()
{
    ++cancelGeneration;
}

}  // namespace MediaLibrary::Audio
