#pragma once

#include "JobHost.h"
#include "JobInput.h"

namespace velmora::front {

// DVD Creator: VOB files only, or a DVD-Video folder set authored from DVD-ready MPEG files,
// optionally handed to the DVD Data Burner.
void RunDvdAuthoringJob(JobHost& host, const JobInput& input);

}  // namespace velmora::front
