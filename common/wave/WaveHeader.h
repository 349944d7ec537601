#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

namespace velmora::wave {

// The fields of a "fmt " chunk.
struct WaveFormat {
    std::uint16_t formatCode = 0;   // 1: PCM
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t bytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
};

// What keeps a file from being a usable RIFF WAVE file, in the order the reading meets it.
enum class WaveProblem {
    None,
    CannotOpen,   // no file that can be read (also a folder)
    NotRiff,      // does not start with "RIFF"
    NotWave,      // "RIFF" but no "WAVE" form type after it
    NoFormat,     // no whole "fmt " chunk before the samples
    NoData,       // no "data" chunk
};

// What the chunks of a RIFF WAVE file say. Encoders put other chunks (LIST and the like) before
// the samples, so the "data" chunk is looked for, never assumed at byte 36.
struct WaveLayout {
    WaveProblem problem = WaveProblem::CannotOpen;
    WaveFormat format;              // of the first "fmt " chunk; zeros without one
    std::uint64_t dataOffset = 0;   // where the samples start
    std::uint64_t dataLength = 0;   // the data chunk's size, cut at the end of the file

    bool IsWave() const { return problem == WaveProblem::None; }
};

// Reads up to count bytes at offset; returns how many it read (fewer only at the end).
using ByteReader = std::function<std::size_t(std::uint64_t offset, char* buffer, std::size_t count)>;

// The layout of the size bytes that read gives, walking the chunks up to "data".
WaveLayout ReadWaveLayout(const ByteReader& read, std::uint64_t size);
// The same for a file held in memory.
WaveLayout ParseWave(std::string_view bytes);
// The same for a file, read only as far as its "data" chunk header.
WaveLayout ReadWaveFile(const std::filesystem::path& file);

// CD audio: PCM, 16-bit, stereo, 44 100 Hz.
bool IsCdAudio(const WaveFormat& format);
// A usable WAV file holding CD audio.
bool IsCdAudioFile(const std::filesystem::path& file);

}  // namespace velmora::wave
