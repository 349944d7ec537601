#include "WaveWriter.h"

#include <cstring>
#include <limits>

namespace MediaLibrary::Audio {
namespace {

constexpr std::uint32_t kRiffOverhead = 36;   // RIFF header rest, format chunk, data chunk header
constexpr std::uint32_t kMaxDataLength = std::numeric_limits<std::uint32_t>::max() - kRiffOverhead;

void Put(WaveHeader& header, std::size_t at, std::uint32_t value, int bytes)
{
    for (int byte = 0; byte < bytes; ++byte) header[at + byte] = static_cast<unsigned char>(value >> (8 * byte));
}

}  // namespace

WaveHeader MakeWaveHeader(std::uint32_t dataLength)
{
    WaveHeader header{};
    std::memcpy(&header[0], "RIFF", 4);
    Put(header, 4, dataLength + kRiffOverhead, 4);
    std::memcpy(&header[8], "WAVE", 4);
    std::memcpy(&header[12], "fmt ", 4);
    Put(header, 16, 16, 4);       // format chunk length
    Put(header, 20, 1, 2);        // PCM
    Put(header, 22, 2, 2);        // channels
    Put(header, 24, 44100, 4);    // samples per second
    Put(header, 28, 176400, 4);   // bytes per second
    Put(header, 32, 4, 2);        // block align
    Put(header, 34, 16, 2);       // bits per sample
    std::memcpy(&header[36], "data", 4);
    Put(header, 40, dataLength, 4);
    return header;
}

WaveWriter::~WaveWriter()
{
    Discard();
}

bool WaveWriter::Open(const std::filesystem::path& file)
{
    Discard();
    m_out.open(file, std::ios::binary | std::ios::trunc);
    if (!m_out) return false;
    m_file = file;
    m_dataLength = 0;
    const WaveHeader room{};
    m_out.write(reinterpret_cast<const char*>(room.data()), room.size());
    return static_cast<bool>(m_out);
}

bool WaveWriter::Append(const void* data, std::size_t bytes)
{
    if (!m_out.is_open() || bytes > kMaxDataLength - m_dataLength) return false;
    m_out.write(static_cast<const char*>(data), static_cast<std::streamsize>(bytes));
    if (!m_out) return false;
    m_dataLength += static_cast<std::uint32_t>(bytes);
    return true;
}

bool WaveWriter::Finish()
{
    if (!m_out.is_open()) return false;
    const auto header = MakeWaveHeader(m_dataLength);
    m_out.seekp(0);
    m_out.write(reinterpret_cast<const char*>(header.data()), header.size());
    m_out.close();
    if (m_out.fail()) {
        Discard();
        return false;
    }
    m_file.clear();
    return true;
}

void WaveWriter::Discard()
{
    if (m_file.empty()) return;
    if (m_out.is_open()) m_out.close();
    // Only what this writer made is removed: an output that was a device stays.
    std::error_code ignored;
    if (std::filesystem::symlink_status(m_file, ignored).type() == std::filesystem::file_type::regular)
        std::filesystem::remove(m_file, ignored);
    m_file.clear();
}

}  // namespace MediaLibrary::Audio
