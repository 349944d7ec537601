#pragma once

#include "video/MediaLibrary.h"

namespace MediaLibrary::Audio {

// Runs the encoder on the converter's audio command; the output's extension decides between
// WAV and MP3. Returns 0 whatever the encoder did: the calling thread's last failure says why
// there is no output.
int RunAudioCommand(CMediaLibrary& converter);

}  // namespace MediaLibrary::Audio
