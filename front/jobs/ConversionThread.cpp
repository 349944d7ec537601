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

std::vector<Export> ConversionThread::ExportsNeeded(const JobInput& input)
{
    switch (input.mode) {
    case kModeAudioConverter:
        return {Export::BeginDiscRip, Export::RipDiscTrack, Export::EndDiscRip, Export::Convert_Wav_TO_MP3};
    case kModeVideoConverter: {
        std::vector<Export> needed{Export::GeTThumbNailForVideoFile};
        if (const VideoFormat* format = FindVideoFormat(input.formatRadio)) needed.push_back(format->conversion);
        if (input.join) needed.insert(needed.end(), {Export::GetDefaultPara, Export::Convert_Join_To_Single});
        return needed;
    }
    case kModeDvdCreator:
        return {Export::Convert_Video_TO_VOB, Export::Convert_Video_TO_DVD, Export::GenerateDVDFiles};
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
