#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace MediaLibrary::Audio {

constexpr std::size_t kWaveHeaderSize = 44;
using WaveHeader = std::array<unsigned char, kWaveHeaderSize>;

// The canonical header of 44.1 kHz 16-bit stereo PCM, all numbers little-endian.
WaveHeader MakeWaveHeader(std::uint32_t dataLength);

// Streams PCM data into a WAV file and writes the header last, when the length is known.
// A file that is not finished is deleted: its header would claim data it does not hold.
class WaveWriter {
public:
    WaveWriter() = default;
    ~WaveWriter();
    WaveWriter(const WaveWriter&) = delete;
    WaveWriter& operator=(const WaveWriter&) = delete;

    // Creates or truncates the file and leaves room for the header.
    bool Open(const std::filesystem::path& file);
    bool Append(const void* data, std::size_t bytes);
    bool Finish();
    // Closes and deletes an unfinished file.
    void Discard();

    bool IsOpen() const { return m_out.is_open(); }
    std::uint32_t DataLength() const { return m_dataLength; }

private:
    std::filesystem::path m_file;
    std::ofstream m_out;
    std::uint32_t m_dataLength = 0;
};

}  // namespace MediaLibrary::Audio
