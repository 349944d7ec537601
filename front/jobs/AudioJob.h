#pragma once

#include "JobHost.h"
#include "JobInput.h"

namespace velmora::front {

// Audio Converter: the checked rows, CD tracks and audio files alike, to MP3 or WAV files.
void RunAudioJob(JobHost& host, const JobInput& input);

}  // namespace velmora::front
