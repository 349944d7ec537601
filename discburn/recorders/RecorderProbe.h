#pragma once

#include "RecorderDevice.h"

namespace velmora::discburn {

// The window's mode that makes a recorder an audio-CD recorder; the others write data.
inline constexpr int kAudioBurnerMode = 4;

// Initialises the mode's writer on a listed recorder, as the drive drop-down does when a
// recorder is picked, and logs when that fails. The recorder is left as it was: holding no drive,
// so the job can take it. True when the writer initialised.
bool ProbeRecorder(CRecorderDevice& recorder, int mode);

}  // namespace velmora::discburn
