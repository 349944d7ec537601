#pragma once

#include "JobHost.h"
#include "JobInput.h"
#include "core/LumetraBinding.h"

#include <functional>
#include <thread>
#include <vector>

namespace velmora::front {

// The one worker that runs the job of the current converter mode. The window starts it with a
// snapshot of its controls and joins it when the job reports that it has finished.
class ConversionThread {
public:
    ConversionThread() = default;
    ~ConversionThread();
    ConversionThread(const ConversionThread&) = delete;
    ConversionThread& operator=(const ConversionThread&) = delete;

    // The library exports the job of the input will call.
    static std::vector<Export> ExportsNeeded(const JobInput& input);

    // False while a job runs. `finished` is called on the job's thread as its last act.
    bool Start(JobHost& host, JobInput input, std::function<void()> finished);
    bool Running() const { return thread_.joinable(); }
    // Waits for the thread after it reported that it has finished.
    void Join();

private:
    std::thread thread_;
};

}  // namespace velmora::front
