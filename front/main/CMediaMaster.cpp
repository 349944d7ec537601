#include "CMediaMaster.h"

#include "Artwork.h"
#include "DiscUsage.h"
#include "LibraryMessages.h"
#include "MediaWatch.h"
#include "ModeTables.h"
#include "core/ControlIds.h"
#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "lists/Entries.h"
#include "lists/FileDialogs.h"
#include "log/Log.h"
#include "settings/Settings.h"
#include "support/CShowThumbNail.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <ctime>

namespace velmora::front {

CMediaMaster::CMediaMaster(bool english, Desktop& desktop, const std::filesystem::path& library, QWidget* parent)
    : QDialog(parent),
      desktop_(desktop),
      strings_(english),
      convertList_(new CListCtrlEx(*this, this)),
      burnList_(new CFileListBox(*this, this)),
      controls_(BuildWindowControls(*this, *convertList_, *burnList_)),
      quality_(controls_),
      recorders_(*controls_.driveList),
      cancelButton_(new QPushButton(strings_[kRowCancel], this)),
      preview_(new CShowThumbNail(this)),
      mediaWatch_(new MediaWatch(this)),
      burnJobs_(*this)
{
    LogMessage(3, "Entered in the CMediaMaster");
    setWindowIcon(ButtonImage(control::kDvdDataBurnerButton, QSize(64, 64)));
    if (!Lumetra().Bind(library))
        LogMessage(1, "Running without the conversion library: every operation that needs it is refused");
    InitDialog();
    ConnectHandlers();
    AttachLibraryMessages(*this);
    StartUpdateCheck();
}

CMediaMaster::~CMediaMaster()
{
    LogMessage(3, "Destructing CMediaMaster");
    conversion_.Join();
    DetachLibraryMessages(*this);
}

void CMediaMaster::InitDialog()
{
    setWindowTitle(strings_[kRowTitle]);
    setFixedSize(830, 684);
    for (const auto& [id, control] : controls_.controlMap) control->hide();
    controls_.progress->hide();
    controls_.status->hide();

    Control(control::kStartButton)->show();
    Control(control::kBackground)->show();
    SetCaption(control::kStartButton, "Convert !!!!");
    controls_.formatGroup->button(control::kFirstOptionRadio)->setChecked(true);
    // Cancel takes the place of the start button while a burn runs.
    cancelButton_->setGeometry(Control(control::kStartButton)->geometry());
    cancelButton_->hide();

    QFont headingFont("Arial");
    headingFont.setPixelSize(16);
    Control(control::kWelcomeText)->setFont(headingFont);
    Control(control::kHeading)->setFont(headingFont);
    quality_.FillRateLists();
}

void CMediaMaster::ConnectHandlers()
{
    const auto onClick = [this](int id, void (CMediaMaster::*handler)()) {
        connect(static_cast<QAbstractButton*>(Control(id)), &QAbstractButton::clicked, this, handler);
    };
    onClick(control::kAudioConverterButton, &CMediaMaster::OnBnClickedButtonAudioConverter);
    onClick(control::kVideoConverterButton, &CMediaMaster::OnBnClickedButtonVideoConverter);
    onClick(control::kDvdCreatorButton, &CMediaMaster::OnBnClickedButtonDvdCreator);
    onClick(control::kAudioBurnerButton, &CMediaMaster::OnBnClickedButtonAudioBurner);
    onClick(control::kCdDataBurnerButton, &CMediaMaster::OnBnClickedButtonCdDataBurner);
    onClick(control::kDvdDataBurnerButton, &CMediaMaster::OnBnClickedButtonDvdDataBurner);
    onClick(control::kStartButton, &CMediaMaster::OnBnClickedStart);
    onClick(control::kExitButton, &CMediaMaster::OnBnClickedExit);
    onClick(control::kAddFilesButton, &CMediaMaster::OnBnClickedAddFiles);
    onClick(control::kRemoveFilesButton, &CMediaMaster::OnBnClickedRemoveFiles);
    onClick(control::kAddFolderButton, &CMediaMaster::OnBnClickedAddFolder);
    onClick(control::kHelpButton, &CMediaMaster::OnBnClickedHelp);
    const int optionRadios[] = {control::kFirstOptionRadio, control::kSecondOptionRadio, control::kThirdOptionRadio};
    for (int index = 0; index < 3; ++index)
        connect(static_cast<QAbstractButton*>(Control(optionRadios[index])), &QAbstractButton::clicked, this,
                [this, index] { OnOptionRadio(index); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { burnJobs_.RequestCancel(); });
    connect(mediaWatch_, &MediaWatch::MediaChanged, this, &CMediaMaster::OnMediaChanged);
    connect(controls_.driveList, &QComboBox::activated, this, &CMediaMaster::OnCbnSelchangeComboAcCdrom);
    connect(controls_.driveList, &QComboBox::currentIndexChanged, this, &CMediaMaster::OnRecorderPicked);
    for (const int edit : {control::kAudioBitRateEdit, control::kVideoBitRateEdit})
        connect(static_cast<QLineEdit*>(Control(edit)), &QLineEdit::textChanged, this, &CMediaMaster::OnBitRateChanged);
}

void CMediaMaster::StartUpdateCheck()
{
    const std::string server = velmora::platform::Settings::Load().GetString("UpdateServer", "");
    if (server.empty()) return;
    updateCheck_.Start(server, [this, server] {
        QMetaObject::invokeMethod(this, [this, server] { AskAboutUpdate(server); }, Qt::QueuedConnection);
    });
}

void CMediaMaster::AskAboutUpdate(const std::string& server)
{
    if (desktop_.ShowMessage(this, strings_[kRowUpdatesAvailable], strings_[kRowUpdatesCaption], MessageKind::Question))
        desktop_.OpenUrl(QUrl(QString::fromStdString(UpdatePageUrl(server))));
}

QWidget* CMediaMaster::Control(int id) const
{
    const auto found = controls_.all.find(id);
    return found == controls_.all.end() ? nullptr : found->second;
}

// ---- The modes -------------------------------------------------------------------------------

void CMediaMaster::ShowEngineBusy()
{
    desktop_.ShowMessage(this, "Engine Busy", "Media Conversion", MessageKind::Plain);
}

bool CMediaMaster::SwitchMode(int mode)
{
    if (state_.Busy()) {
        ShowEngineBusy();
        return false;
    }
    LeaveMode(state_.Mode());
    state_.SetMode(mode);
    EnterMode(mode);
    ApplyCaptions(mode);
    if (mode >= kModeAudioBurner) {
        recorders_.Fill(mode, [this](const std::string& text) {
            ShowMessage(QString::fromStdString(text), strings_[kRowTitle], MessageKind::Error);
        });
    }
    return true;
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
    QMetaObject::invokeMethod(this, &CMediaMaster::OnBnClickedStart, Qt::QueuedConnection);
}

void CMediaMaster::OnOptionRadio(int index)
{
    if (Mode() == kModeCdDataBurner) ApplyCdBurnOption(index);
    else if (Mode() == kModeDvdDataBurner) ApplyDvdBurnOption(3 + index);
}

void CMediaMaster::ApplyCdBurnOption(int option)
{
    SetEnabled(ControlsDisabledByCdOption(state_.BurnOption()), true);
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
    if (mode >= kModeAudioBurner && mode <= kModeDvdDataBurner && !burnJobs_.Running()) recorders_.Probe(index, mode);
}

// ---- Start, and the end of a job -------------------------------------------------------------

void CMediaMaster::OnBnClickedStart()
{
    char stamp[16];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y_%m_%d", &local);
    state_.SetDateStamp(stamp);
    if (Mode() == kModeWelcome) return;
    if (Mode() <= kModeDvdCreator) StartConversion();
    else StartBurn();
}

void CMediaMaster::StartConversion()
{
    JobInput input = TakeJobInput();
    for (const Export needed : ConversionThread::ExportsNeeded(input))
        if (!RequireExport(needed)) return;
    Control(control::kStartButton)->setEnabled(false);
    conversion_.Start(*this, std::move(input), [this] {
        QMetaObject::invokeMethod(this, &CMediaMaster::OnJobFinished, Qt::QueuedConnection);
    });
}

void CMediaMaster::StartBurn()
{
    if (burnJobs_.Running()) return;
    const bool started = burnJobs_.Start(TakeBurnInput(), [this] {
        QMetaObject::invokeMethod(this, &CMediaMaster::OnBurnFinished, Qt::QueuedConnection);
    });
    if (!started) return;
    cancelButton_->show();
    cancelButton_->raise();
}

JobInput CMediaMaster::TakeJobInput() const
{
    JobInput input;
    input.mode = Mode();
    for (int row = 0; row < convertList_->topLevelItemCount(); ++row) input.rows.push_back(convertList_->RowAt(row));
    input.formatRadio = controls_.formatGroup->checkedId();
    input.join = static_cast<QAbstractButton*>(Control(control::kJoinFilesCheck))->isChecked();
    input.burn = static_cast<QAbstractButton*>(Control(control::kBurnOutputCheck))->isChecked();
    input.cdDrive = controls_.driveList->currentData().toString().left(2).toStdString();
    return input;
}

BurnInput CMediaMaster::TakeBurnInput() const
{
    BurnInput input;
    input.mode = Mode();
    input.option = state_.BurnOption();
    input.recorder = recorders_.Choice();
    for (int row = 0; row < burnList_->count(); ++row)
        if (const CBaseObject* entry = burnList_->EntryAt(row))
            input.entries.push_back({entry->Path(), dynamic_cast<const CDirObject*>(entry) != nullptr});
    input.sourceDrive = controls_.driveList->currentText().toStdString();
    input.volumeName = state_.DateStamp();
    return input;
}

void CMediaMaster::OnJobFinished()
{
    conversion_.Join();
    Control(control::kStartButton)->setEnabled(true);
}

void CMediaMaster::OnBurnFinished()
{
    burnJobs_.Join();
    controls_.progress->reset();
    controls_.progress->show();
    controls_.status->show();
    cancelButton_->hide();
}

// A running job keeps the rows it was started with.
void CMediaMaster::OnMediaChanged()
{
    if (state_.Busy()) return;
    if (Mode() == kModeAudioConverter || Mode() == kModeCdDataBurner || Mode() == kModeDvdDataBurner)
        OnCbnSelchangeComboAcCdrom();
}

// ---- Leaving ---------------------------------------------------------------------------------

void CMediaMaster::OnBnClickedExit()
{
    if (state_.Busy()) {
        ShowEngineBusy();
        return;
    }
    accept();
}

// Escape and the close box end the dialog too; a running job must keep its window. Escape
// during a burn asks the burn to stop.
void CMediaMaster::reject()
{
    if (state_.Busy()) {
        if (burnJobs_.Running()) burnJobs_.RequestCancel();
        else ShowEngineBusy();
        return;
    }
    QDialog::reject();
}

void CMediaMaster::closeEvent(QCloseEvent* event)
{
    if (state_.Busy()) {
        event->ignore();
        ShowEngineBusy();
        return;
    }
    QDialog::closeEvent(event);
}

// ---- The list buttons ------------------------------------------------------------------------

void CMediaMaster::OnBnClickedAddFiles()
{
    const FileFilter filter = Mode() == kModeAudioBurner      ? kAudioFilesFilter
                              : Mode() == kModeVideoConverter ? kVideoFilesFilter
                              : Mode() == kModeDvdCreator     ? kAviFilesFilter
                                                              : kAllFilesFilter;
    const QStringList files = desktop_.ChooseFiles(this, DialogFilter({filter}));
    if (files.isEmpty()) return;
    const bool convertList = Mode() == kModeVideoConverter || Mode() == kModeDvdCreator;
    if (Mode() != kModeVideoConverter) UpdateDiscUsage();
    for (const QString& file : files) {
        if (convertList) convertList_->AddListFile(file);
        else burnList_->AddPath(file);
    }
    if (Mode() != kModeVideoConverter) UpdateDiscUsage();
}

void CMediaMaster::OnBnClickedRemoveFiles()
{
    if (Mode() == kModeVideoConverter || Mode() == kModeDvdCreator) convertList_->DeleteSelected();
    else burnList_->DeleteSelected();
}

void CMediaMaster::OnBnClickedAddFolder()
{
    const QString folder = desktop_.ChooseFolder(this, strings_[kRowChooseOutputFolder]);
    if (!folder.isEmpty()) burnList_->AddPath(folder);
}

void CMediaMaster::OnBnClickedHelp()
{
    desktop_.OpenUrl(QUrl::fromLocalFile(QDir::currentPath() + "/Help.pdf"));
}

void CMediaMaster::OnBitRateChanged()
{
    quality_.ReadBitRate();
    UpdateOutputInfo(convertList_->TotalDuration());
}

// ---- Small helpers ---------------------------------------------------------------------------

void CMediaMaster::SetCaption(int id, const QString& text)
{
    QWidget* control = Control(id);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control)) label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control)) group->setTitle(text);
}

void CMediaMaster::SetShown(const std::vector<int>& ids, bool shown)
{
    for (const int id : ids) Control(id)->setVisible(shown);
}

void CMediaMaster::SetEnabled(const std::vector<int>& ids, bool enabled)
{
    for (const int id : ids) Control(id)->setEnabled(enabled);
}

void CMediaMaster::SetProgressPosition(std::uint64_t position)
{
    QProgressBar& bar = *controls_.progress;
    if (position < static_cast<std::uint64_t>(bar.minimum())) bar.reset();
    else bar.setValue(static_cast<int>(std::min<std::uint64_t>(position, static_cast<std::uint64_t>(bar.maximum()))));
}

}  // namespace velmora::front
