#include "ConversionThread.h"

#include "AudioJob.h"
#include "DvdAuthoringJob.h"
#include "Log.h"
#include "ListHost.h"
#include "VideoJob.h"

namespace velmora::front {
namespace {

void RunJob(JobHost& host, const JobInput& input)
{
    switch (input.mode) {
    case kModeAudioConverter:
        RunAudioJob(host, input);
        break;
    case kModeVideoConverter:
        RunVideoJob(host, input);
        break;
    case kModeDvdCreator:
        RunDvdAuthoringJob(host, input);
        break;
    default:
        LogMessage(2, "No conversion job for mode %d", input.mode);
        break;
    }
}

}  // namespace

ConversionThread::~ConversionThread()
{
    Join();
}

bool ConversionThread::Start(JobHost& host, JobInput input, std::function<void()> finished)
{
    if (thread_.joinable()) return false;
    thread_ = std::thread([&host, input = std::move(input), finished = std::move(finished)] {
        RunJob(host, input);
        finished();
    });
    return true;
}

void ConversionThread::Join()
{
    if (thread_.joinable()) thread_.join();
}

}  // namespace velmora::front
