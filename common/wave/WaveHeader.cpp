#include "WaveHeader.h"

#include "files/PlainFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unistd.h>

namespace velmora::wave {
namespace {

constexpr std::size_t kRiffHeaderBytes = 12;   // "RIFF", size, "WAVE"
constexpr std::size_t kChunkHeaderBytes = 8;   // id, size
constexpr std::size_t kFormatBytes = 16;       // the PCM fields of "fmt "

std::uint32_t Little(const char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int at = count - 1; at >= 0; --at) value = value << 8 | static_cast<unsigned char>(bytes[at]);
    return value;
}

WaveFormat FormatOf(const std::array<char, kFormatBytes>& bytes)
{
    WaveFormat format;
    format.formatCode = static_cast<std::uint16_t>(Little(bytes.data(), 2));
    format.channels = static_cast<std::uint16_t>(Little(bytes.data() + 2, 2));
    format.sampleRate = Little(bytes.data() + 4, 4);
    format.bytesPerSecond = Little(bytes.data() + 8, 4);
    format.blockAlign = static_cast<std::uint16_t>(Little(bytes.data() + 12, 2));
    format.bitsPerSample = static_cast<std::uint16_t>(Little(bytes.data() + 14, 2));
    return format;
}

WaveProblem CheckRiffHeader(const ByteReader& read)
{
    std::array<char, kRiffHeaderBytes> riff{};
    const std::size_t got = read(0, riff.data(), riff.size());
    if (got < 4 || std::memcmp(riff.data(), "RIFF", 4) != 0) return WaveProblem::NotRiff;
    if (got < riff.size() || std::memcmp(riff.data() + 8, "WAVE", 4) != 0) return WaveProblem::NotWave;
    return WaveProblem::None;
}

// Walks the chunks after the RIFF header up to "data".
void FindChunks(const ByteReader& read, std::uint64_t size, WaveLayout& layout)
{
    bool formatSeen = false;
    std::array<char, kChunkHeaderBytes> header{};
    for (std::uint64_t at = kRiffHeaderBytes; read(at, header.data(), header.size()) == header.size();) {
        const std::uint64_t chunkSize = Little(header.data() + 4, 4);
        at += header.size();
        if (std::memcmp(header.data(), "fmt ", 4) == 0 && !formatSeen) {
            std::array<char, kFormatBytes> fields{};
            if (chunkSize < fields.size() || read(at, fields.data(), fields.size()) != fields.size()) break;
            layout.format = FormatOf(fields);
            formatSeen = true;
        } else if (std::memcmp(header.data(), "data", 4) == 0) {
            if (!formatSeen) break;
            layout.problem = WaveProblem::None;
            layout.dataOffset = at;
            layout.dataLength = std::min(chunkSize, size - std::min(at, size));
            return;
        }
        at += chunkSize + (chunkSize & 1);   // chunks start at even offsets
    }
    layout.problem = formatSeen ? WaveProblem::NoData : WaveProblem::NoFormat;
}

}  // namespace

WaveLayout ReadWaveLayout(const ByteReader& read, std::uint64_t size)
{
    WaveLayout layout;
    layout.problem = CheckRiffHeader(read);
    if (layout.problem == WaveProblem::None) FindChunks(read, size, layout);
    return layout;
}

WaveLayout ParseWave(std::string_view bytes)
{
    const ByteReader read = [bytes](std::uint64_t offset, char* buffer, std::size_t count) -> std::size_t {
        if (offset >= bytes.size()) return 0;
        return bytes.copy(buffer, count, static_cast<std::size_t>(offset));
    };
    return ReadWaveLayout(read, bytes.size());
}

WaveLayout ReadWaveFile(const std::filesystem::path& file)
{
    const platform::PlainFile in = platform::OpenPlainFile(file);
    if (!in.fd.valid()) return {};
    const ByteReader read = [&in](std::uint64_t offset, char* buffer, std::size_t count) -> std::size_t {
        const ssize_t got = ::pread(in.fd.get(), buffer, count, static_cast<off_t>(offset));
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    };
    return ReadWaveLayout(read, in.size);
}

bool IsCdAudio(const WaveFormat& format)
{
    return format.formatCode == 1 && format.channels == 2 && format.sampleRate == 44100 && format.bitsPerSample == 16;
}

bool IsCdAudioFile(const std::filesystem::path& file)
{
    const auto layout = ReadWaveFile(file);
    return layout.IsWave() && IsCdAudio(layout.format);
}

}  // namespace velmora::wave
