#include "AudioTrack.h"

#include <array>
#include <cstring>
#include <fstream>
#include <string>

namespace velmora::discburn {
namespace {

std::uint32_t Little(const char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int at = count - 1; at >= 0; --at) value = value << 8 | static_cast<unsigned char>(bytes[at]);
    return value;
}

}  // namespace

std::uint64_t PaddedTrackBytes(std::uint64_t length)
{
    const std::uint64_t sectors = (length + kCdSectorBytes - 1) / kCdSectorBytes;
    return std::max(sectors, kMinimumTrackSectors) * kCdSectorBytes;
}

std::optional<AudioTrack> TrackOfCdWave(const std::filesystem::path& wave)
{
    std::ifstream in(wave, std::ios::binary);
    std::array<char, 12> riff{};
    if (!in.read(riff.data(), riff.size()) || std::memcmp(riff.data(), "RIFF", 4) != 0 ||
        std::memcmp(riff.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    // Walk the chunks: encoders put others (LIST and the like) before the samples.
    bool cdFormat = false;
    std::uint64_t at = riff.size();
    std::array<char, 8> header{};
    while (in.read(header.data(), header.size())) {
        const std::uint64_t size = Little(header.data() + 4, 4);
        at += header.size();
        if (std::memcmp(header.data(), "fmt ", 4) == 0) {
            std::array<char, 16> format{};
            if (size < format.size() || !in.read(format.data(), format.size())) return std::nullopt;
            cdFormat = Little(format.data(), 2) == 1 && Little(format.data() + 2, 2) == 2 &&
                       Little(format.data() + 4, 4) == 44100 && Little(format.data() + 14, 2) == 16;
            if (!cdFormat) return std::nullopt;
        } else if (std::memcmp(header.data(), "data", 4) == 0) {
            if (!cdFormat) return std::nullopt;
            std::error_code error;
            const auto fileSize = std::filesystem::file_size(wave, error);
            if (error || fileSize < at) return std::nullopt;
            // Frames are 4 bytes; a data size past the end of the file is taken as far as the file goes.
            const std::uint64_t length = std::min<std::uint64_t>(size, fileSize - at) / 4 * 4;
            return AudioTrack{wave, at, length};
        }
        at += size + (size & 1);
        in.seekg(static_cast<std::streamoff>(at));
    }
    return std::nullopt;
}

}  // namespace velmora::discburn
