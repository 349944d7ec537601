#include "CMediaMaster.h"

#include "Artwork.h"
#include "LibraryMessages.h"
#include "MediaWatch.h"
#include "UserGuide.h"
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
#include <QCoreApplication>
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
    burnJobs_.Stop();
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
    static_cast<QAbstractButton*>(Control(control::kVerifyCheck))->setChecked(true);
    // Cancel takes the place of the start button while a job runs.
    cancelButton_->setGeometry(Control(control::kStartButton)->geometry());
    cancelButton_->setAutoDefault(false);
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
    connect(cancelButton_, &QPushButton::clicked, this, &CMediaMaster::CancelJob);
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
    if (convertList_->Measuring() || burnList_->Measuring()) {
        ShowMessage(strings_[kRowStillMeasuring], strings_[kRowTitle], MessageKind::Information);
        return;
    }
    if (Mode() <= kModeDvdCreator) StartConversion();
    else StartBurn();
}

void CMediaMaster::StartConversion()
{
    JobInput input = TakeJobInput();
    for (const Export needed : ConversionThread::ExportsNeeded(input))
        if (!RequireExport(needed)) return;
    Control(control::kStartButton)->setEnabled(false);
    state_.SetCancelRequest(false);
    conversion_.Start(*this, std::move(input), [this] {
        QMetaObject::invokeMethod(this, &CMediaMaster::OnJobFinished, Qt::QueuedConnection);
    });
    cancelButton_->show();
    cancelButton_->raise();
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
    input.sourceDrive = controls_.driveList->currentData().toString().toStdString();
    input.volumeName = state_.DateStamp();
    input.verify = static_cast<QAbstractButton*>(Control(control::kVerifyCheck))->isChecked();
    return input;
}

void CMediaMaster::OnJobFinished()
{
    conversion_.Join();
    cancelButton_->hide();
    Control(control::kStartButton)->setEnabled(true);
    Control(control::kStartButton)->setFocus();
    if (closeAfterJob_) accept();
}

void CMediaMaster::OnBurnFinished()
{
    burnJobs_.Join();
    controls_.progress->reset();
    controls_.progress->show();
    controls_.status->show();
    cancelButton_->hide();
    Control(control::kStartButton)->setFocus();
    if (closeAfterJob_) accept();
}

void CMediaMaster::CancelJob()
{
    if (burnJobs_.Running()) {
        burnJobs_.RequestCancel();
    } else if (conversion_.Running()) {
        state_.SetCancelRequest(true);
        if (const auto cancel = Lumetra().CancelConversions()) cancel();
    }
}

void CMediaMaster::OfferToCancel()
{
    if (!conversion_.Running() && !burnJobs_.Running()) {
        ShowEngineBusy();
        return;
    }
    if (desktop_.ShowMessage(this, strings_[kRowCancelJobQuestion], strings_[kRowTitle], MessageKind::Question))
        EndSoon();
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
        OfferToCancel();
        return;
    }
    accept();
}

void CMediaMaster::EndSoon()
{
    if (!conversion_.Running() && !burnJobs_.Running()) {
        accept();
        return;
    }
    closeAfterJob_ = true;
    CancelJob();
}

// Escape stops a running job; otherwise it closes the window only when the user says so.
void CMediaMaster::reject()
{
    if (state_.Busy()) {
        CancelJob();
        return;
    }
    if (desktop_.ShowMessage(this, strings_[kRowCloseQuestion], strings_[kRowTitle], MessageKind::Question))
        QDialog::reject();
}

// The close box: a running job keeps its window unless the user cancels it.
void CMediaMaster::closeEvent(QCloseEvent* event)
{
    if (state_.Busy()) {
        event->ignore();
        OfferToCancel();
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
    const QString guide = FindUserGuide(QCoreApplication::applicationDirPath());
    if (guide.isEmpty()) ShowMessage(strings_[kRowNoHelp], strings_[kRowTitle], MessageKind::Information);
    else desktop_.OpenUrl(QUrl::fromLocalFile(guide));
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
