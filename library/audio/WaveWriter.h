#pragma once

#include "files/PendingFile.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace MediaLibrary::Audio {

constexpr std::size_t kWaveHeaderSize = 44;
using WaveHeader = std::array<unsigned char, kWaveHeaderSize>;

// The canonical header of 44.1 kHz 16-bit stereo PCM, all numbers little-endian.
WaveHeader MakeWaveHeader(std::uint32_t dataLength);

// Streams PCM data into a WAV file and writes the header last, when the length is known. The
// file is written under a hidden name beside the target and takes its place only when finished:
// an unfinished one would claim data it does not hold, and an earlier file of that name stays.
class WaveWriter {
public:
    explicit WaveWriter(const std::filesystem::path& target);
    WaveWriter(const WaveWriter&) = delete;
    WaveWriter& operator=(const WaveWriter&) = delete;

    bool IsOpen() const { return m_file.IsOpen(); }
    bool Append(const void* data, std::size_t bytes);
    // Writes the header and puts the file in the target's place.
    bool Finish();
    // Writes the header only: the caller puts the file in place through File().
    bool Complete();
    velmora::platform::PendingFile& File() { return m_file; }
    // Why the file could not be made or written, in words.
    const std::string& Failure() const { return m_failure; }
    std::uint32_t DataLength() const { return m_dataLength; }

private:
    bool Flush();
    bool Failed(std::string reason);

    velmora::platform::PendingFile m_file;
    std::vector<char> m_buffer;
    std::uint32_t m_dataLength = 0;
    std::string m_failure;
};

}  // namespace MediaLibrary::Audio
