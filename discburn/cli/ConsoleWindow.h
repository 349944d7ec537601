#pragma once

#include "mastering/BurnWindow.h"

#include <chrono>
#include <string>
#include <utility>

namespace velmora::discburn::cli {

// The burn engine's window on a terminal: statuses and progress go to standard error (progress
// at most once a second, or when the action or the track changes), the last result is kept for
// the exit.
// An interrupt or a termination signal, once the program catches them, is the cancel request.
class ConsoleWindow : public BurnWindow {
public:
    ConsoleWindow(std::string volumeName, bool audio) : volumeName_(std::move(volumeName)), audio_(audio) {}

    int SendProgress(const WriteProgress& progress) override;
    void SendStatus(const std::string& text) override;
    void SendResult(HResult hr, const std::string& text) override;
    bool IsCancelRequested() override;
    std::string DateStamp() override { return volumeName_; }
    std::string UiText(int row) override;
    void ShowError(int row) override;

    // The last result as the window would show it.
    HResult ResultCode() const { return result_.first; }
    std::string ResultText() const;

private:
    void Say(const std::string& text);

    std::string volumeName_;
    bool audio_;
    std::pair<HResult, std::string> result_{kOk, {}};
    int lastAction_ = -1, lastTrack_ = -1;
    std::chrono::steady_clock::time_point nextProgress_{};
    std::string lastSaid_;
};

}  // namespace velmora::discburn::cli
