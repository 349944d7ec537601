#pragma once

#include <cstdint>
#include <optional>

namespace MediaLibrary::Audio {

// How far the rip running in this process has got, in seconds of its track: what
// GetEncodedSeconds answers while a rip runs. When the track is encoded after it is read,
// reading is the first half of the way and encoding the second. A rip also learns here that it
// is to stop.
class RipProgress {
public:
    explicit RipProgress(bool encodedAfter);
    ~RipProgress();
    RipProgress(const RipProgress&) = delete;
    RipProgress& operator=(const RipProgress&) = delete;

    void Read(std::int64_t sampleFrames);
    // The track has been read; the encoder's seconds count from now.
    void Encoding();
    // CancelRips was called since this rip began.
    bool Cancelled() const;

    // The seconds of the running rip, given the encoder's; none when no rip runs.
    static std::optional<double> Seconds(double encodedSeconds);
    // Every running rip stops at its next block.
    static void CancelRips();

private:
    unsigned generation_;
};

}  // namespace MediaLibrary::Audio
