// The main window's modes: what each shows, captions and enables, and the burn options.
#include "CMediaMaster.h"

#include "DiscUsage.h"
#include "ModeTables.h"
#include "core/ControlIds.h"
#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "log/Log.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>

namespace velmora::front {

void CMediaMaster::ShowEngineBusy()
{
    desktop_.ShowMessage(this, "Engine Busy", "Media Conversion", MessageKind::Plain);
}

bool CMediaMaster::SwitchMode(int mode)
{
    if (state_.Busy()) {
        ShowEngineBusy();
        ShowCurrentModeButton();
        return false;
    }
    LeaveMode(state_.Mode());
    state_.SetMode(mode);
    ShowCurrentModeButton();
    // What the status line says belongs to the mode that said it.
    controls_.status->clear();
    EnterMode(mode);
    ApplyCaptions(mode);
    // The CD Data Burner starts in Copy Disk, which lists CD drives: its recorders come with
    // the option that writes.
    if (mode >= kModeAudioBurner && mode != kModeCdDataBurner) TellOfAudioRecorder(FillRecorders(mode));
    return true;
}

bool CMediaMaster::FillRecorders(int mode)
{
    return recorders_.Fill(mode, [this](const std::string& text) {
        ShowMessage(QString::fromStdString(text), strings_[kRowTitle], MessageKind::Error);
    });
}

void CMediaMaster::LeaveMode(int mode)
{
    const auto& table = ControlsOfMode(mode);
    SetShown(table.hiddenOnLeave, false);
    SetShown(table.shownOnLeave, true);
    SetEnabled(table.enabledOnLeave, true);
    switch (mode) {
    case kModeVideoConverter:
    case kModeDvdCreator:
        convertList_->ResetColumns();
        convertList_->SetAcceptsDroppedFiles(false);
        break;
    case kModeCdDataBurner:
        SetEnabled(ControlsDisabledByCdOption(state_.BurnOption()), true);
        controls_.driveList->clear();
        break;
    case kModeAudioBurner:
    case kModeDvdDataBurner:
        controls_.driveList->clear();
        break;
    default:
        break;
    }
}

void CMediaMaster::ShowCurrentModeButton()
{
    static constexpr int kModeButtons[] = {control::kAudioConverterButton, control::kVideoConverterButton,
                                           control::kDvdCreatorButton,     control::kAudioBurnerButton,
                                           control::kCdDataBurnerButton,   control::kDvdDataBurnerButton};
    for (int mode = kModeAudioConverter; mode <= kModeDvdDataBurner; ++mode)
        static_cast<QAbstractButton*>(Control(kModeButtons[mode - 1]))->setChecked(mode == Mode());
}

void CMediaMaster::RestoreModeState()
{
    EnterMode(Mode());
    if (Mode() == kModeCdDataBurner) SetEnabled(ControlsDisabledByCdOption(state_.BurnOption()), false);
    SetJoinEnabled(convertList_->topLevelItemCount() > 1);
}

void CMediaMaster::EnterMode(int mode)
{
    const auto& table = ControlsOfMode(mode);
    SetShown(table.shownOnEnter, true);
    SetEnabled(table.enabledOnEnter, true);
    SetEnabled(table.disabledOnEnter, false);
}

void CMediaMaster::ApplyCaptions(int mode)
{
    convertList_->ResetColumns();
    controls_.formatGroup->button(control::kFirstOptionRadio)->setChecked(true);
    for (const ModeCaption& caption : ControlsOfMode(mode).captions)
        SetCaption(caption.control, caption.row >= 0 ? strings_[caption.row] : QString::fromUtf8(caption.text));
    PrepareLists(mode);
}

// Which list a mode shows, and whether it takes dropped files.
void CMediaMaster::PrepareLists(int mode)
{
    switch (mode) {
    case kModeDvdCreator:
        controls_.dvdAudioGroup->button(control::kDvdAudioBestRadio)->setChecked(true);
        controls_.dvdVideoGroup->button(control::kDvdVideoGoodRadio)->setChecked(true);
        [[fallthrough]];
    case kModeVideoConverter:
        convertList_->SetColumns(mode);
        convertList_->SetAcceptsDroppedFiles(true);
        convertList_->raise();
        break;
    case kModeAudioBurner:
        burnList_->Empty();
        burnList_->SetAcceptsDroppedFiles(true);
        break;
    case kModeCdDataBurner:
        burnList_->Empty();
        break;
    case kModeDvdDataBurner:
        burnList_->Empty();
        burnList_->setEnabled(true);
        burnList_->SetAcceptsDroppedFiles(true);
        burnList_->raise();
        break;
    default:
        break;
    }
}

void CMediaMaster::OnBnClickedButtonAudioConverter()
{
    LogMessage(3, "Entered in the OnBnClickedButtonAudioConverter");
    if (SwitchMode(kModeAudioConverter)) GetCDRomList();
    LogMessage(3, "Leaving OnBnClickedButtonAudioConverter");
}

void CMediaMaster::OnBnClickedButtonVideoConverter()
{
    if (SwitchMode(kModeVideoConverter)) quality_.ResetBitRate();
}

void CMediaMaster::OnBnClickedButtonDvdCreator()
{
    SwitchMode(kModeDvdCreator);
}

void CMediaMaster::OnBnClickedButtonAudioBurner()
{
    if (!SwitchMode(kModeAudioBurner)) return;
    burnList_->raise();
    state_.SetDiscCapacity(kAudioCdSeconds);
    state_.SetDiscUsed(0);
    ShowProgress(static_cast<int>(kAudioCdSeconds), 1);
}

void CMediaMaster::OnBnClickedButtonCdDataBurner()
{
    if (!SwitchMode(kModeCdDataBurner)) return;
    burnList_->raise();
    state_.SetDiscCapacity(kCdDataBytes);
    state_.SetDiscUsed(0);
    ShowProgress(700, 1);
    ApplyCdBurnOption(0);
}

void CMediaMaster::OnBnClickedButtonDvdDataBurner()
{
    if (!SwitchMode(kModeDvdDataBurner)) return;
    state_.SetDiscUsed(0);
    burnList_->raise();
    if (state_.HasPendingOutputs()) HandOverPendingOutputs();
    else ApplyDvdBurnOption(3);
}

// A conversion that ends in a burn leaves its outputs here; the burn starts once the window is idle.
void CMediaMaster::HandOverPendingOutputs()
{
    for (const std::string& output : state_.TakePendingOutputs()) burnList_->AddPath(QString::fromStdString(output));
    controls_.formatGroup->button(control::kSecondOptionRadio)->setChecked(true);
    ApplyDvdBurnOption(4);
    // Folders among the outputs are read first: the burn starts once the list has measured them.
    if (burnList_->Measuring())
        connect(burnList_, &CFileListBox::Settled, this, &CMediaMaster::StartHandedOverBurn, Qt::SingleShotConnection);
    else
        QMetaObject::invokeMethod(this, &CMediaMaster::StartHandedOverBurn, Qt::QueuedConnection);
}

// Only while the burner still shows: the user may have gone to another mode meanwhile.
void CMediaMaster::StartHandedOverBurn()
{
    if (Mode() == kModeDvdDataBurner && !state_.Busy()) OnBnClickedStart();
}

void CMediaMaster::OnOptionRadio(int index)
{
    if (Mode() == kModeCdDataBurner) ApplyCdBurnOption(index);
    else if (Mode() == kModeDvdDataBurner) ApplyDvdBurnOption(3 + index);
}

void CMediaMaster::ApplyCdBurnOption(int option)
{
    SetEnabled(ControlsDisabledByCdOption(state_.BurnOption()), true);
    // Copy Disk copies from a CD drive; the other options write with a recorder.
    if (option == 0) {
        recorders_.Forget();
        ListCdDrives(*controls_.driveList);
    } else if (state_.BurnOption() == 0) {
        FillRecorders(kModeCdDataBurner);
    }
    state_.SetBurnOption(option);
    SetEnabled(ControlsDisabledByCdOption(option), false);
    if (option == 1) burnList_->raise();
    burnList_->SetAcceptsDroppedFiles(option == 1);
}

void CMediaMaster::ApplyDvdBurnOption(int option)
{
    const DvdOption& chosen = DvdOptionOf(option);
    state_.SetBurnOption(option);
    state_.SetDiscCapacity(chosen.capacity);
    ShowProgress(chosen.progressMaximum, 1);
    SetCaption(control::kUsageLeftLabel, chosen.leftLabel);
    SetCaption(control::kUsageRightLabel, chosen.rightLabel);
    UpdateDiscUsage();
}

void CMediaMaster::OnRecorderPicked(int index)
{
    const int mode = Mode();
    if (mode >= kModeAudioBurner && mode <= kModeDvdDataBurner && !burnJobs_.Running())
        TellOfAudioRecorder(recorders_.Probe(index, mode));
}

// The Audio Burner says before Burn that the recorder picked cannot write audio CDs.
void CMediaMaster::TellOfAudioRecorder(bool usable)
{
    if (Mode() != kModeAudioBurner || controls_.driveList->currentIndex() < 0) return;
    const QString& cannot = strings_[kRowRecorderCannotWriteAudio];
    if (!usable) controls_.status->setText(cannot);
    else if (controls_.status->text() == cannot) controls_.status->clear();
}

}  // namespace velmora::front
