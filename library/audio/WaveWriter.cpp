#include "WaveWriter.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <unistd.h>

namespace MediaLibrary::Audio {
namespace {

constexpr std::uint32_t kRiffOverhead = 36;   // RIFF header rest, format chunk, data chunk header
constexpr std::uint32_t kMaxDataLength = std::numeric_limits<std::uint32_t>::max() - kRiffOverhead;
// Few large writes: a rip delivers 2352 bytes at a time.
constexpr std::size_t kBufferBytes = 256 * 1024;

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

WaveWriter::WaveWriter(const std::filesystem::path& target) : m_file(target)
{
    if (!m_file.IsOpen()) {
        m_failure = m_file.Failure();
        return;
    }
    m_buffer.reserve(kBufferBytes);
    m_buffer.resize(kWaveHeaderSize);   // room for the header
}

bool WaveWriter::Failed(std::string reason)
{
    if (m_failure.empty()) m_failure = std::move(reason);
    return false;
}

bool WaveWriter::Flush()
{
    if (!m_file.Write(m_buffer.data(), m_buffer.size())) return Failed(m_file.Failure());
    m_buffer.clear();
    return true;
}

bool WaveWriter::Append(const void* data, std::size_t bytes)
{
    if (!m_failure.empty()) return false;
    if (bytes > kMaxDataLength - m_dataLength)
        return Failed(m_file.Target().string() + " would be longer than a WAV file can be");
    const char* at = static_cast<const char*>(data);
    if (m_buffer.size() + bytes > kBufferBytes && !Flush()) return false;
    if (bytes >= kBufferBytes) {
        if (!m_file.Write(at, bytes)) return Failed(m_file.Failure());
    } else {
        m_buffer.insert(m_buffer.end(), at, at + bytes);
    }
    m_dataLength += static_cast<std::uint32_t>(bytes);
    return true;
}

bool WaveWriter::Complete()
{
    if (!m_failure.empty() || !Flush()) return false;
    const auto header = MakeWaveHeader(m_dataLength);
    if (::pwrite(m_file.Descriptor(), header.data(), header.size(), 0) != static_cast<ssize_t>(header.size()))
        return Failed("writing " + m_file.Target().string() + " failed: " + std::strerror(errno));
    return true;
}

bool WaveWriter::Finish()
{
    if (!Complete()) return false;
    if (!m_file.Commit()) return Failed(m_file.Failure());
    return true;
}

}  // namespace MediaLibrary::Audio
