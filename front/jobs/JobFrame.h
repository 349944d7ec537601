#pragma once

#include "FailureCount.h"
#include "JobHost.h"

namespace velmora::front {

// The frame every conversion job runs its files in: the window busy, its controls disabled and
// the progress bar set for the steps; when it goes, the failures are reported and the window is
// free again.
class JobFrame {
public:
    JobFrame(JobHost& host, int steps);
    ~JobFrame();
    JobFrame(const JobFrame&) = delete;
    JobFrame& operator=(const JobFrame&) = delete;

    FailureCount& Failures() { return failures_; }

private:
    JobHost& host_;
    FailureCount failures_;
};

}  // namespace velmora::front
