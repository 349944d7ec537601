#include "WaveAudio.h"

#include "AudioTranscode.h"

namespace MediaLibrary::Audio {

int CWaveAudio::Prepare()
{
    using velmora::wave::WaveProblem;
    m_layout = velmora::wave::ReadWaveFile(m_request.szSourceFile);
    switch (m_layout.problem) {
    case WaveProblem::CannotOpen:
        return kCannotOpen;
    case WaveProblem::NotRiff:
        return kNotRiff;
    case WaveProblem::NotWave:
        return kNotWave;
    case WaveProblem::None:
    case WaveProblem::NoFormat:
    case WaveProblem::NoData:
        break;
    }
    return 0;
}

int CWaveAudio::Convert()
{
    return RunAudioCommand(*this);
}

}  // namespace MediaLibrary::Audio
