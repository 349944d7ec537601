#pragma once

#include "video/MediaLibrary.h"

#include <cstdint>

namespace MediaLibrary::Audio {

// Encodes a WAV file into the output's format (MP3, by its extension), after checking that the
// source is a RIFF WAVE file.
class CWaveAudio : public CMediaLibrary {
public:
    // What Prepare found wrong with the source.
    static constexpr int kCannotOpen = 6100;
    static constexpr int kNotRiff = 6001;
    static constexpr int kNotWave = 6002;

    // The canonical 44-byte WAV header, fields in file order (little-endian on disc).
    struct CanonicalHeader {
        char riffTag[4];
        std::uint32_t riffLength;
        char waveTag[4];
        char formatTag[4];
        std::uint32_t formatLength;
        std::uint16_t formatCode;
        std::uint16_t channels;
        std::uint32_t sampleRate;
        std::uint32_t bytesPerSecond;
        std::uint16_t blockAlign;
        std::uint16_t bitsPerSample;
        char dataTag[4];
        std::uint32_t dataLength;
    };
    static_assert(sizeof(CanonicalHeader) == 44);

    using CMediaLibrary::CMediaLibrary;

    // 0 when the source starts as a RIFF WAVE file (its format fields are then read), else
    // kCannotOpen, kNotRiff or kNotWave.
    int Prepare() override;
    int Convert() override;

    const CanonicalHeader& WaveHeader() const { return m_waveHeader; }

private:
    CanonicalHeader m_waveHeader{};
};

}  // namespace MediaLibrary::Audio
