#include "ConversionThread.h"

#include "AudioJob.h"
#include "DvdAuthoringJob.h"
#include "log/Log.h"
#include "lists/ListHost.h"
#include "VideoFormats.h"
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

std::vector<std::string_view> ConversionThread::ExportsNeeded(const JobInput& input)
{
    switch (input.mode) {
    case kModeAudioConverter:
        return {"Convert_CD_TO_MP3", "Convert_Wav_TO_MP3"};
    case kModeVideoConverter: {
        std::vector<std::string_view> names{"GeTThumbNailForVideoFile"};
        if (const VideoFormat* format = FindVideoFormat(input.formatRadio)) names.push_back(format->exportName);
        if (input.join) names.insert(names.end(), {"GetDefaultPara", "Convert_Join_To_Single"});
        return names;
    }
    case kModeDvdCreator:
        return {"Convert_Video_TO_VOB", "Convert_Video_TO_DVD", "GenerateDVDFiles"};
    default:
        return {};
    }
}

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
