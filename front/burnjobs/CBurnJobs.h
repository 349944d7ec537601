#pragma once

#include "BurnHost.h"
#include "BurnInput.h"
#include "drives/Drive.h"
#include "mastering/BurnWindow.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace velmora::front {

// The work of the three burn modes: the burn thread and its five jobs, and the window's side of
// what the writers report. A job works on the input taken at Start and reaches the window only
// through its host.
class CBurnJobs : public discburn::BurnWindow {
public:
    explicit CBurnJobs(BurnHost& host);
    ~CBurnJobs() override;
    CBurnJobs(const CBurnJobs&) = delete;
    CBurnJobs& operator=(const CBurnJobs&) = delete;

    // Starts the burn thread; false while one runs. `finished` is called on the thread as its last act.
    bool Start(BurnInput input, std::function<void()> finished);
    bool Running() const { return running_; }
    // The Cancel button and Escape while a burn runs.
    void RequestCancel();
    // Waits for a thread that reported that it has finished.
    void Join();
    // Cancels a running burn and waits for its end, answering its calls meanwhile.
    void Stop();

    // BurnWindow: calls from the burn thread.
    int SendProgress(const discburn::WriteProgress& progress) override;
    void SendStatus(const std::string& text) override;
    void SendResult(discburn::HResult hr, const std::string& text) override;
    bool IsCancelRequested() override;
    std::string DateStamp() override;
    std::string UiText(int row) override;
    void ShowError(int row) override;

private:
    void BurnThread();
    void AudioBurnJob();
    void DataBurnJob();
    void CreateIsoJob();
    void BurnIsoJob(const std::optional<std::string>& preselected, std::string path);
    void DiscCopyJob();
    void AudioCopyJob(const platform::Drive& drive);

    // The recorder of the input; with none it reports "Error: No Device Selected".
    std::optional<std::string> ChooseRecorder();
    // A track that cannot be prepared stops the audio burn: says which and why.
    void RefuseTrack(const std::filesystem::path& file, const std::string& reason);
    std::string AskIsoSavePath();

    BurnHost& host_;
    BurnInput input_;
    std::function<void()> finished_;
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> audioWrite_{false};
};

}  // namespace velmora::front
