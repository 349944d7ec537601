#include "AudioTranscode.h"

namespace MediaLibrary::Audio {

int RunAudioCommand(CMediaLibrary& converter)
{
    converter.RunCommand(converter.GetAudioCommand(), true);
    return 0;
}

}  // namespace MediaLibrary::Audio
