#pragma once

#include "jobs/ConversionThread.h"
#include "support/Desktop.h"
#include "jobs/JobHost.h"
#include "lists/ListHost.h"
#include "core/LumetraBinding.h"
#include "core/SharedState.h"
#include "core/UiStrings.h"
#include "support/UpdateCheck.h"
#include "WindowControls.h"

#include <QDialog>

#include <filesystem>
#include <memory>

namespace MediaLibrary::Header {
struct MEDIACONVERSIONINFO;
}

namespace velmora::front {

class CBurnJobs;
class CFileListBox;
class CListCtrlEx;
class CShowThumbNail;
class MediaWatch;

// The main window "Media Library": six mode buttons on the left and a work area whose controls
// each mode shows, hides, captions and enables.
class CMediaMaster : public QDialog, public ListHost, public JobHost {
    Q_OBJECT
public:
    CMediaMaster(bool english, Desktop& desktop, const std::filesystem::path& library = DefaultLibraryPath(),
                 QWidget* parent = nullptr);
    ~CMediaMaster() override;

    QWidget* Control(int id) const;
    CListCtrlEx& ConvertList() const { return *convertList_; }
    CFileListBox& BurnList() const { return *burnList_; }
    SharedState& State() override { return state_; }
    CShowThumbNail& Preview() const { return *preview_; }
    // True from Start until the conversion thread has ended.
    bool JobRunning() const { return conversion_.Running(); }
    CUpdateCheck& UpdateCheck() { return updateCheck_; }
    CBurnJobs& BurnJobs() { return *burnJobs_; }
    int TotalBitRate() const { return totalBitRate_; }

    // Safe from any thread: a job thread's call runs on the UI thread and waits for it.
    void EnableControls(bool busy) override;
    void ShowProgress(int maximum, int minimum) override;
    void SetStatusText(const QString& text) override;
    void CollectSettings(MediaLibrary::Header::MEDIACONVERSIONINFO& request,
                         const MediaLibrary::Header::MEDIACONVERSIONINFO* defaults = nullptr) override;

    // JobHost
    void StepProgress() override;
    void EndProgress() override;
    std::string ChooseOutputFolder() override;
    std::string ChooseJoinedFile() override;
    void ShowPreview(const std::string& picture) override;
    void HidePreview() override;
    void UncheckRow(int row) override;
    void PostCommand(int id) override;

    // ListHost
    int Mode() const override { return state_.Mode(); }
    const UiStrings& Strings() const override { return strings_; }
    // Safe from any thread, like EnableControls.
    bool ShowMessage(const QString& text, const QString& caption, MessageKind kind) override;
    bool RequireExport(Export which) override;
    void AddDiscUsed(std::int64_t amount) override { state_.AddDiscUsed(amount); }
    void UpdateDiscUsage() override;
    void UpdateOutputInfo(std::int64_t totalSeconds) override;
    void ApplyVideoDefaults(const std::string& path) override;
    void SetJoinEnabled(bool enabled) override;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void OnBnClickedButtonAudioConverter();
    void OnBnClickedButtonVideoConverter();
    void OnBnClickedButtonDvdCreator();
    void OnBnClickedButtonAudioBurner();
    void OnBnClickedButtonCdDataBurner();
    void OnBnClickedButtonDvdDataBurner();
    void OnBnClickedStart();
    void OnBnClickedExit();
    void OnBnClickedAddFiles();
    void OnBnClickedRemoveFiles();
    void OnBnClickedAddFolder();
    void OnBnClickedHelp();
    void OnOptionRadio(int index);
    void OnBitRateChanged();
    void OnShowPreview(const QString& picture);
    // The Audio Converter's CD drives and the tracks of the selected one.
    void GetCDRomList();
    void OnCbnSelchangeComboAcCdrom();
    void OnJobFinished();
    // A disc arrived in a drive or left it.
    void OnMediaChanged();

private:
    void InitDialog();
    void ConnectHandlers();
    void StartUpdateCheck();
    void AskAboutUpdate(const std::string& server);

    // The mode switch: false (and the engine-busy message) while a job runs.
    bool SwitchMode(int mode);
    void LeaveMode(int mode);
    void EnterMode(int mode);
    void ApplyCaptions(int mode);
    void ApplyCdBurnOption(int option);
    void ApplyDvdBurnOption(int option);
    void HandOverPendingOutputs();
    void ShowEngineBusy();
    JobInput TakeJobInput() const;

    void SetCaption(int id, const QString& text);
    void SetShown(const std::vector<int>& ids, bool shown);
    void SetEnabled(const std::vector<int>& ids, bool enabled);
    void SetProgressPosition(std::uint64_t position);
    QString EditText(int id) const;
    int EditNumber(int id) const;

    template <typename Action>
    void OnUiThread(Action&& action);

    Desktop& desktop_;
    UiStrings strings_;
    SharedState state_;
    CListCtrlEx* convertList_;
    CFileListBox* burnList_;
    WindowControls controls_;
    int totalBitRate_ = 0;
    CUpdateCheck updateCheck_;
    CShowThumbNail* preview_;
    MediaWatch* mediaWatch_;
    ConversionThread conversion_;
    std::unique_ptr<CBurnJobs> burnJobs_;
};

}  // namespace velmora::front
