#pragma once

#include "RecorderList.h"
#include "mastering/BurnWindow.h"
#include "recorders/RecorderDevice.h"

#include <QObject>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class QPushButton;

namespace velmora::front {

class CBaseObject;
class CMediaMaster;
class Desktop;

// The work of the three burn modes: the recorder drop-down, the burn thread and its five jobs,
// and the window's side of what the writers report. Jobs run on the burn thread and reach
// widgets only through blocking queued calls on the UI thread.
class CBurnJobs : public QObject, public discburn::BurnWindow {
    Q_OBJECT
public:
    CBurnJobs(CMediaMaster& window, Desktop& desktop);
    ~CBurnJobs() override;

    // A burn mode was entered: the recorders go into the window's drop-down.
    void FillDriveList();
    // The start button in a burn mode.
    void Start();
    bool Running() const { return running_; }
    // The Cancel button and Escape while a burn runs.
    void RequestCancel();

    // BurnWindow: calls from the burn thread, answered on the UI thread.
    int SendProgress(const discburn::WriteProgress& progress) override;
    void SendStatus(const std::string& text) override;
    void SendResult(discburn::HResult hr, const std::string& text) override;
    bool IsCancelRequested() override;
    std::string DateStamp() override;
    std::string UiText(int row) override;

private:
    // What the drop-down holds: no selection, or the selected entry's unique id (empty when
    // the entry has no record).
    using RecorderChoice = std::optional<std::string>;

    void BurnThread();
    void AudioBurnJob();
    void DataBurnJob();
    void CreateIsoJob();
    void BurnIsoJob(const RecorderChoice& preselected, std::string path);
    void DiscCopyJob();

    // The drop-down's selection; with none it reports "Error: No Device Selected".
    RecorderChoice ChooseRecorder();
    // Builds an image of the entries and writes it into an ISO file through the recorder; the
    // job's end is reported either way. True when the file was written.
    bool WriteIsoFile(const std::string& recorderId, bool exclusive, const std::vector<const CBaseObject*>& entries,
                      const std::string& path, bool showFinalizing);
    bool OpenBurnRecorder(discburn::CRecorderDevice& device, const std::string& entryId, bool exclusive);
    // The end of every job that opened its recorder.
    void EndJob(discburn::CRecorderDevice& device, discburn::HResult hr, const std::string& errorText);

    void ProbeSelectedRecorder(int index);
    std::vector<const CBaseObject*> BurnListEntries();
    std::string AskIsoSavePath();
    void ShowError(int row);
    void ShowStatus(int row);

    template <typename Action>
    void OnUiThread(Action&& action);

    CMediaMaster& window_;
    Desktop& desktop_;
    RecorderRecords records_;
    QPushButton* cancelButton_;
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> audioWrite_{false};
    // The last result sent: a failed image build's own, which the job's end repeats.
    std::pair<discburn::HResult, std::string> lastResult_;
};

}  // namespace velmora::front
