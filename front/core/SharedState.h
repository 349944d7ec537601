#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace velmora::front {

// The part of the window's state that job threads read and write; every member is safe to use
// from any thread. Widgets are not here: they belong to the UI thread.
class SharedState {
public:
    int Mode() const { return mode_; }
    void SetMode(int mode) { mode_ = mode; }

    bool Busy() const { return busy_; }
    void SetBusy(bool busy) { busy_ = busy; }

    int BurnOption() const { return burnOption_; }
    void SetBurnOption(int option) { burnOption_ = option; }

    // Audio Burner: seconds; data modes: bytes (the DVD options keep their own capacity figures).
    std::uint64_t DiscCapacity() const { return discCapacity_; }
    void SetDiscCapacity(std::uint64_t capacity) { discCapacity_ = capacity; }
    std::uint64_t DiscUsed() const { return discUsed_; }
    void SetDiscUsed(std::uint64_t used) { discUsed_ = used; }
    // Never below zero.
    void AddDiscUsed(std::int64_t amount);

    // How long the video job waits for a conversion between two preview pictures.
    std::chrono::milliseconds PollInterval() const { return pollInterval_; }
    void SetPollInterval(std::chrono::milliseconds interval) { pollInterval_ = interval; }

    void AddPendingOutput(std::string output);
    bool HasPendingOutputs() const;
    std::vector<std::string> TakePendingOutputs();

    bool CancelRequested() const;
    void SetCancelRequest(bool cancel);

    std::string DateStamp() const;
    void SetDateStamp(std::string stamp);

private:
    std::atomic<int> mode_{0};
    std::atomic<bool> busy_{false};
    std::atomic<int> burnOption_{0};
    std::atomic<std::uint64_t> discCapacity_{0};
    std::atomic<std::uint64_t> discUsed_{0};
    std::atomic<std::chrono::milliseconds> pollInterval_{std::chrono::seconds(5)};

    mutable std::mutex lock_;
    std::vector<std::string> pendingOutputs_;
    bool cancelRequest_ = false;
    std::string dateStamp_;
};

}  // namespace velmora::front
