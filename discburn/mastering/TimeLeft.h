#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace velmora::discburn {

// Guesses the time a write or a read-back has left from its pace since its first bytes.
class TimeLeft {
public:
    // Whole seconds; -1 until enough has passed to tell.
    int Seconds(std::uint64_t done, std::uint64_t total);

private:
    using Clock = std::chrono::steady_clock;
    std::optional<Clock::time_point> start_;
    std::uint64_t startBytes_ = 0;
};

}  // namespace velmora::discburn
