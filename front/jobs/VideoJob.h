#pragma once

#include "JobHost.h"
#include "JobInput.h"

namespace velmora::front {

// Video Converter: each file converted on a thread of its own while the job shows how far it
// got in the preview; optionally joined into one file and handed to the DVD Data Burner.
void RunVideoJob(JobHost& host, const JobInput& input);

}  // namespace velmora::front
