#include "WaveAudio.h"

#include "AudioTranscode.h"

#include <array>
#include <cstring>
#include <fstream>

namespace MediaLibrary::Audio {
namespace {

// The header up to the end of the format fields: tags, lengths and the PCM format record.
constexpr std::size_t kCheckedBytes = 36;
using HeaderBytes = std::array<unsigned char, kCheckedBytes>;

std::uint16_t Little16(const HeaderBytes& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t Little32(const HeaderBytes& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

int CWaveAudio::Prepare()
{
    std::error_code error;
    if (std::filesystem::is_directory(m_request.szSourceFile, error)) return kCannotOpen;
    std::ifstream in(m_request.szSourceFile, std::ios::binary);
    if (!in) return kCannotOpen;
    HeaderBytes bytes{};
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto got = static_cast<std::size_t>(in.gcount());

    std::memcpy(m_waveHeader.riffTag, &bytes[0], 4);
    if (got < 4 || std::memcmp(m_waveHeader.riffTag, "RIFF", 4) != 0) return kNotRiff;
    m_waveHeader.riffLength = Little32(bytes, 4);
    std::memcpy(m_waveHeader.waveTag, &bytes[8], 4);
    if (got < 12 || std::memcmp(m_waveHeader.waveTag, "WAVE", 4) != 0) return kNotWave;

    std::memcpy(m_waveHeader.formatTag, &bytes[12], 4);
    m_waveHeader.formatLength = Little32(bytes, 16);
    m_waveHeader.formatCode = Little16(bytes, 20);
    m_waveHeader.channels = Little16(bytes, 22);
    m_waveHeader.sampleRate = Little32(bytes, 24);
    m_waveHeader.bytesPerSecond = Little32(bytes, 28);
    m_waveHeader.blockAlign = Little16(bytes, 32);
    m_waveHeader.bitsPerSample = Little16(bytes, 34);
    return 0;
}

int CWaveAudio::Convert()
{
    return RunAudioCommand(*this);
}

}  // namespace MediaLibrary::Audio
