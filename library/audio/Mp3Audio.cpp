#include "Mp3Audio.h"

#include "AudioTranscode.h"

namespace MediaLibrary::Audio {

int CMp3Audio::Convert()
{
    return RunAudioCommand(*this);
}

}  // namespace MediaLibrary::Audio
