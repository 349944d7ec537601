#include "AudioTranscode.h"

namespace MediaLibrary::Audio {

int RunAudioCommand(CMediaLibrary& converter)
{
    converter.EncodeInto(converter.GetAudioCommand(), converter.Request().szOutputFile);
    return 0;
}

}  // namespace MediaLibrary::Audio
