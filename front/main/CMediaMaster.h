#pragma once

#include "QualityControls.h"
#include "WindowControls.h"
#include "burnjobs/BurnHost.h"
#include "burnjobs/CBurnJobs.h"
#include "burnjobs/RecorderList.h"
#include "core/LumetraBinding.h"
#include "core/SharedState.h"
#include "core/UiStrings.h"
#include "jobs/ConversionThread.h"
#include "jobs/JobHost.h"
#include "lists/ListHost.h"
#include "support/Desktop.h"
#include "support/UpdateCheck.h"

#include <QDialog>

#include <filesystem>

class QPushButton;

namespace velmora::front {

class CCDDBDialog;
class CFileListBox;
class CListCtrlEx;
class CShowThumbNail;
class MediaWatch;

// The main window "Media Library": six mode buttons on the left and a work area whose controls
// each mode shows, hides, captions and enables. It is the host of its lists and of the jobs it
// starts; every host call is safe from a job's thread.
class CMediaMaster : public QDialog, public ListHost, public JobHost, public BurnHost {
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
    CBurnJobs& BurnJobs() { return burnJobs_; }
    int TotalBitRate() const { return quality_.TotalBitRate(); }

    // Hosts: shared by the lists and the jobs.
    int Mode() const override { return state_.Mode(); }
    const UiStrings& Strings() const override { return strings_; }
    void EnableControls(bool busy) override;
    void SetStatusText(const QString& text) override;
    bool ShowMessage(const QString& text, const QString& caption, MessageKind kind) override;

    // JobHost
    void ShowProgress(int maximum, int minimum) override;
    void SetProgress(int position) override;
    void EndProgress() override;
    void CollectSettings(MediaLibrary::Header::MEDIACONVERSIONINFO& request,
                         const MediaLibrary::Header::MEDIACONVERSIONINFO* defaults = nullptr) override;
    std::string ChooseOutputFolder() override;
    std::string ChooseJoinedFile() override;
    void ShowPreview(const std::string& picture) override;
    void HidePreview() override;
    void UncheckRow(int row) override;
    void PostCommand(int id) override;

    // ListHost
    bool RequireExport(Export which) override;
    void AddDiscUsed(std::int64_t amount) override { state_.AddDiscUsed(amount); }
    void UpdateDiscUsage() override;
    void UpdateOutputInfo(std::int64_t totalSeconds) override;
    void ApplyVideoDefaults(const MediaLibrary::Header::MEDIACONVERSIONINFO& figures) override;
    void SetJoinEnabled(bool enabled) override;

    // BurnHost
    void ShowBurnProgress(std::uint64_t done, std::uint64_t total) override;
    std::string ChooseIsoFileToWrite() override;
    std::string ChooseIsoFileToBurn() override;
    std::optional<std::string> ChooseTargetRecorder(bool audioCd) override;

public slots:
    void reject() override;
    // The system asks the program to end: a running job is cancelled and the window closes once
    // it has ended and cleaned up; with none, it closes now.
    void EndSoon();

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
    void StartHandedOverBurn();
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
    // The lettered CD drives, "E:\\  /dev/sr0", each with its root as its data, the first selected;
    // no signals.
    static void ListCdDrives(QComboBox& drives);
    void OnCbnSelchangeComboAcCdrom();
    void OnRecorderPicked(int index);
    void TellOfAudioRecorder(bool usable);
    void OnJobFinished();
    void OnBurnFinished();
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
    void PrepareLists(int mode);
    void ApplyCdBurnOption(int option);
    void ApplyDvdBurnOption(int option);
    void HandOverPendingOutputs();
    void ShowEngineBusy();
    // The mode's recorders in the drop-down; false when the chosen one cannot write what the mode writes.
    bool FillRecorders(int mode);
    // The current mode's button down, the others up.
    void ShowCurrentModeButton();
    // What the mode and its option give the controls, as when it was entered.
    void RestoreModeState();
    // Cancel (or Escape) while a job runs.
    void CancelJob();
    // Exit or the close box while a job runs: cancel it and close when it has ended, if the user says so.
    void OfferToCancel();
    void StartConversion();
    void StartBurn();
    JobInput TakeJobInput() const;
    BurnInput TakeBurnInput() const;

    // The Audio Converter's tracks of the drive: the CDDB match the user picks, the disc's
    // records with the match's titles, the rows.
    const CDDB::CQueryResult* ChooseCddbMatch(CCDDBDialog& dialog);
    bool ReadDiscTracks(char letter, const std::vector<std::string>& names,
                        std::vector<MediaLibrary::Header::CD_TEXT_INFO>& records);
    void ApplyCddbTitles(std::vector<MediaLibrary::Header::CD_TEXT_INFO>& records,
                         const std::vector<std::string>& names, const CDDB::CQueryResult& match);
    void ListCdTracks(const std::vector<MediaLibrary::Header::CD_TEXT_INFO>& records);

    void SetCaption(int id, const QString& text);
    void SetShown(const std::vector<int>& ids, bool shown);
    void SetEnabled(const std::vector<int>& ids, bool enabled);
    void SetProgressPosition(std::uint64_t position);

    Desktop& desktop_;
    UiStrings strings_;
    SharedState state_;
    CListCtrlEx* convertList_;
    CFileListBox* burnList_;
    WindowControls controls_;
    QualityControls quality_;
    RecorderDropDown recorders_;
    QPushButton* cancelButton_;
    CUpdateCheck updateCheck_;
    CShowThumbNail* preview_;
    MediaWatch* mediaWatch_;
    ConversionThread conversion_;
    CBurnJobs burnJobs_;
    bool closeAfterJob_ = false;
};

}  // namespace velmora::front
