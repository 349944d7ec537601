#include "AudioTrack.h"

#include "wave/WaveHeader.h"

#include <algorithm>

namespace velmora::discburn {

std::uint64_t PaddedTrackBytes(std::uint64_t length)
{
    const std::uint64_t sectors = (length + kCdSectorBytes - 1) / kCdSectorBytes;
    return std::max(sectors, kMinimumTrackSectors) * kCdSectorBytes;
}

std::optional<AudioTrack> TrackOfCdWave(const std::filesystem::path& wave)
{
    const auto layout = velmora::wave::ReadWaveFile(wave);
    if (!layout.IsWave() || !velmora::wave::IsCdAudio(layout.format)) return std::nullopt;
    return TrackOfCdWave(wave, layout);
}

AudioTrack TrackOfCdWave(const std::filesystem::path& wave, const velmora::wave::WaveLayout& layout)
{
    // Whole frames of 4 bytes; a data size past the end of the file counts as far as the file goes.
    return AudioTrack{wave, layout.dataOffset, layout.dataLength / 4 * 4};
}

}  // namespace velmora::discburn
