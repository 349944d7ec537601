#pragma once

#include "JobOutcome.h"
#include "JobHost.h"

namespace velmora::front {

// The frame every conversion job runs its files in: the window busy, its controls disabled and
// the progress bar set for the steps; when it goes, the outcome's summary is shown and the window
// is free again.
class JobFrame {
public:
    JobFrame(JobHost& host, int steps);
    ~JobFrame();
    JobFrame(const JobFrame&) = delete;
    JobFrame& operator=(const JobFrame&) = delete;

    JobOutcome& Outcome() { return outcome_; }

private:
    JobHost& host_;
    JobOutcome outcome_;
};

}  // namespace velmora::front
