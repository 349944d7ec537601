#pragma once

#include "video/MediaLibrary.h"
#include "wave/WaveHeader.h"

namespace MediaLibrary::Audio {

// Encodes a WAV file into the output's format (MP3, by its extension), after checking that the
// source is a RIFF WAVE file.
class CWaveAudio : public CMediaLibrary {
public:
    // What Prepare found wrong with the source.
    static constexpr int kCannotOpen = 6100;
    static constexpr int kNotRiff = 6001;
    static constexpr int kNotWave = 6002;

    using CMediaLibrary::CMediaLibrary;

    // 0 when the source starts as a RIFF WAVE file (its chunks are then read), else kCannotOpen,
    // kNotRiff or kNotWave.
    int Prepare() override;
    int Convert() override;

    const velmora::wave::WaveLayout& Layout() const { return m_layout; }

private:
    velmora::wave::WaveLayout m_layout;
};

}  // namespace MediaLibrary::Audio
