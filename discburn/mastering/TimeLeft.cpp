#include "TimeLeft.h"

namespace velmora::discburn {
namespace {

// A pace measured over less than this says little.
constexpr std::chrono::milliseconds kLeastMeasured{1000};

}  // namespace

int TimeLeft::Seconds(std::uint64_t done, std::uint64_t total)
{
    const auto now = Clock::now();
    if (done >= total) return total > 0 ? 0 : -1;
    if (!start_) {
        if (done > 0) start_ = now, startBytes_ = done;
        return -1;
    }
    const double elapsed = std::chrono::duration<double>(now - *start_).count();
    if (now - *start_ < kLeastMeasured || done <= startBytes_) return -1;
    const double pace = static_cast<double>(done - startBytes_) / elapsed;
    return static_cast<int>(static_cast<double>(total - done) / pace + 0.5);
}

}  // namespace velmora::discburn
