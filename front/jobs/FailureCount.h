#pragma once

#include "JobHost.h"

#include <string>

namespace velmora::front {

// Makes a conversion that left no output visible: the file's own status line at once, and
// the number of such files at the end of the job.
class FailureCount {
public:
    explicit FailureCount(JobHost& host) : host_(host) {}

    // True when the output exists; otherwise says "<name> - failed".
    bool Check(const std::string& input, const std::string& output);
    // "N file(s) failed" when any did; the last status stays otherwise.
    void Report() const;

private:
    JobHost& host_;
    int failed_ = 0;
};

}  // namespace velmora::front
