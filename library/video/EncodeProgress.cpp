#include "EncodeProgress.h"

#include <atomic>
#include <cstdio>

namespace MediaLibrary::Video {
namespace {

std::atomic<double> encodedSeconds{0};

// "12:34:56.78" in seconds; negative when it is not such a time.
double TimeValue(std::string_view text)
{
    int hours = 0, minutes = 0;
    double seconds = 0;
    const std::string copy(text.substr(0, 32));
    if (std::sscanf(copy.c_str(), "%d:%d:%lf", &hours, &minutes, &seconds) != 3 || hours < 0 || minutes < 0)
        return -1;
    return hours * 3600.0 + minutes * 60.0 + seconds;
}

}  // namespace

EncodeProgress::EncodeProgress()
{
    encodedSeconds = 0;
}

EncodeProgress::~EncodeProgress()
{
    encodedSeconds = 0;
}

void EncodeProgress::Read(std::string_view written)
{
    pending_ += written;
    // A reading ends with the blank after it; what follows the last "time=" may be unfinished.
    for (auto at = pending_.find("time="); at != std::string::npos; at = pending_.find("time=", at + 5)) {
        const auto end = pending_.find(' ', at);
        if (end == std::string::npos) {
            pending_.erase(0, at);
            return;
        }
        if (const double seconds = TimeValue(std::string_view(pending_).substr(at + 5, end - at - 5)); seconds >= 0)
            encodedSeconds = seconds;
    }
    // Keep a tail that may hold the start of a "time=".
    if (pending_.size() > 4) pending_.erase(0, pending_.size() - 4);
}

double EncodeProgress::Seconds()
{
    return encodedSeconds;
}

}  // namespace MediaLibrary::Video
