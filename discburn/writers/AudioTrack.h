#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace velmora::wave {
struct WaveLayout;
}

namespace velmora::discburn {

constexpr std::uint64_t kCdSectorBytes = 2352;
constexpr std::uint64_t kMinimumTrackSectors = 4 * 75;   // no track of an audio CD is shorter than 4 seconds

// One track of an audio CD: raw CD audio (16-bit little-endian stereo at 44 100 Hz) that is a
// byte range of a file.
struct AudioTrack {
    std::filesystem::path file;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// The bytes a track takes on the disc: whole sectors, and at least 4 seconds; the rest is silence.
std::uint64_t PaddedTrackBytes(std::uint64_t length);

// The samples of a WAV file that holds CD audio (PCM, 2 channels, 44 100 Hz, 16 bits); none for any other file.
std::optional<AudioTrack> TrackOfCdWave(const std::filesystem::path& wave);
// The same for a WAV file whose header has been read already and holds CD audio.
AudioTrack TrackOfCdWave(const std::filesystem::path& wave, const velmora::wave::WaveLayout& layout);

}  // namespace velmora::discburn
