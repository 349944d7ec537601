#include "WatchedConversion.h"

#include <algorithm>
#include <chrono>
#include <future>

namespace velmora::front {
namespace {

constexpr std::chrono::milliseconds kProgressInterval{250};

}  // namespace

std::string RunWatched(JobHost& host, JobProgress& progress, Export conversion,
                       const MediaLibrary::Header::MEDIACONVERSIONINFO& request, const std::function<void()>& tick)
{
    const auto convert = Lumetra().Converter(conversion);
    return RunWatched(
        host, progress,
        [convert, copy = request] {
            convert(copy);
            return LastLibraryFailure();
        },
        tick);
}

std::string RunWatched(JobHost& host, JobProgress& progress, const std::function<std::string()>& work,
                       const std::function<void()>& tick)
{
    auto running = std::async(std::launch::async, work);
    const auto encoded = Lumetra().GetEncodedSeconds();
    const auto slice = std::min<std::chrono::milliseconds>(kProgressInterval, host.State().PollInterval());
    auto nextTick = std::chrono::steady_clock::now() + host.State().PollInterval();
    while (running.wait_for(slice) == std::future_status::timeout) {
        if (encoded) progress.Encoded(encoded());
        if (tick && std::chrono::steady_clock::now() >= nextTick) {
            tick();
            nextTick = std::chrono::steady_clock::now() + host.State().PollInterval();
        }
    }
    return running.get();
}

}  // namespace velmora::front
