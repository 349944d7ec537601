#pragma once

#include "JobHost.h"
#include "JobOutcome.h"
#include "JobProgress.h"

#include <vector>

namespace velmora::front {

// The frame every conversion job runs its files in: the window busy, its controls disabled and
// the progress bar shown; when it goes, the outcome's summary is shown and the window is free again.
class JobFrame {
public:
    // The play length of each file the job converts, in order (0 where not known).
    JobFrame(JobHost& host, std::vector<int> secondsPerFile);
    ~JobFrame();
    JobFrame(const JobFrame&) = delete;
    JobFrame& operator=(const JobFrame&) = delete;

    JobOutcome& Outcome() { return outcome_; }
    JobProgress& Progress() { return progress_; }

private:
    JobHost& host_;
    JobOutcome outcome_;
    JobProgress progress_;
};

}  // namespace velmora::front
