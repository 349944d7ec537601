#include "CMediaMaster.h"

#include "Artwork.h"
#include "burnjobs/CBurnJobs.h"
#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "support/CShowThumbNail.h"
#include "lists/Entries.h"
#include "lists/FileDialogs.h"
#include "LibraryMessages.h"
#include "MediaWatch.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "ModeTables.h"
#include "settings/Settings.h"
#include "core/ControlIds.h"

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
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

using MediaLibrary::Header::MEDIACONVERSIONINFO;

namespace velmora::front {
namespace {

constexpr std::uint64_t kMiB = 1u << 20;
constexpr std::uint64_t kGiB = 1u << 30;
constexpr std::uint64_t kAudioCdSeconds = 4800;
constexpr std::uint64_t kCdDataBytes = 734003200;
constexpr int kEditTextLimit = 50;

// The DVD Data Burner options 3 to 5: capacity figure, progress range and usage-bar labels.
struct DvdOption {
    std::uint64_t capacity;
    int progressMaximum;
    const char* leftLabel;
    const char* rightLabel;
};
constexpr DvdOption kDvdOptions[] = {
    {kCdDataBytes, 734, "0 MB", "700 MB"},
    {4718592, 8719, "0 GB", "4.5 GB"},
    {8912896, 8912, "0 GB", "8.5 GB"},
};

const char* const kSampleRates[] = {"44100", "48000", "96000"};
const char* const kFrameRates[] = {"1", "2", "4", "8", "12", "16", "24", "25", "30", "50"};

QString Printf(const char* format, auto... values)
{
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return QString::fromUtf8(text);
}

int SampleRateIndex(int rate)
{
    if (rate == 48000) return 1;
    if (rate == 96000) return 2;
    return 0;
}

int FrameRateIndex(int rate)
{
    switch (rate) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    case 8: return 3;
    case 12: return 4;
    case 16: return 5;
    case 24: return 6;
    case 30: return 8;
    case 50: return 9;
    default: return 7;   // "25"
    }
}

// Decimal text to integer as the C library reads it: leading digits count, no digits give 0.
int TextNumber(const QString& text)
{
    return std::atoi(text.left(kEditTextLimit).toUtf8().constData());
}

}  // namespace

CMediaMaster::CMediaMaster(bool english, Desktop& desktop, const std::filesystem::path& library, QWidget* parent)
    : QDialog(parent),
      desktop_(desktop),
      strings_(english),
      convertList_(new CListCtrlEx(*this, this)),
      burnList_(new CFileListBox(*this, this)),
      controls_(BuildWindowControls(*this, *convertList_, *burnList_)),
      preview_(new CShowThumbNail(this)),
      mediaWatch_(new MediaWatch(this)),
      burnJobs_(std::make_unique<CBurnJobs>(*this, desktop))
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

    QFont headingFont("Arial");
    headingFont.setPixelSize(16);
    Control(control::kWelcomeText)->setFont(headingFont);
    Control(control::kHeading)->setFont(headingFont);

    auto* sampleRates = static_cast<QComboBox*>(Control(control::kSampleRateList));
    for (const char* rate : kSampleRates) sampleRates->addItem(rate);
    sampleRates->setCurrentIndex(0);
    auto* frameRates = static_cast<QComboBox*>(Control(control::kFrameRateList));
    for (const char* rate : kFrameRates) frameRates->addItem(rate);
    frameRates->setCurrentIndex(0);
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
    connect(mediaWatch_, &MediaWatch::MediaChanged, this, &CMediaMaster::OnMediaChanged);
    connect(controls_.driveList, &QComboBox::activated, this, &CMediaMaster::OnCbnSelchangeComboAcCdrom);
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
    if (mode >= kModeAudioBurner) burnJobs_->FillDriveList();
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
    const UiStrings& rows = strings_;
    switch (mode) {
    case kModeAudioConverter:
        SetCaption(control::kHeading, rows[kRowAudioConverterHeading]);
        SetCaption(control::kDriveLabel, rows[kRowSelectCdFiles]);
        SetCaption(control::kFirstOptionRadio, "MP3");
        SetCaption(control::kSecondOptionRadio, "WAV");
        SetCaption(control::kThirdOptionRadio, "FLV");
        SetCaption(control::kStartButton, rows[kRowConvert]);
        break;
    case kModeVideoConverter:
    case kModeDvdCreator:
        if (mode == kModeVideoConverter) {
            SetCaption(control::kHeading, rows[kRowVideoConverterHeading]);
            SetCaption(control::kFirstOptionRadio, "AVI");
            SetCaption(control::kSecondOptionRadio, "MPG");
            SetCaption(control::kThirdOptionRadio, "FLV");
        } else {
            SetCaption(control::kHeading, rows[kRowDvdCreatorHeading]);
            SetCaption(control::kDvdMenuGroup, rows[kRowDvdMenu]);
            SetCaption(control::kFirstOptionRadio, rows[kRowOnlyVobFiles]);
            SetCaption(control::kSecondOptionRadio, rows[kRowAllDvdFiles]);
            SetCaption(control::kThirdOptionRadio, rows[kRowConvertAndBurn]);
            controls_.dvdAudioGroup->button(control::kDvdAudioBestRadio)->setChecked(true);
            controls_.dvdVideoGroup->button(control::kDvdVideoGoodRadio)->setChecked(true);
        }
        SetCaption(control::kStartButton, rows[kRowConvert]);
        convertList_->SetColumns(mode);
        convertList_->SetAcceptsDroppedFiles(true);
        convertList_->raise();
        break;
    case kModeAudioBurner:
        SetCaption(control::kHeading, rows[kRowAudioBurnerHeading]);
        SetCaption(control::kDriveLabel, rows[kRowSelectDrive]);
        SetCaption(control::kUsageLeftLabel, "0 min");
        SetCaption(control::kUsageRightLabel, "80 min");
        SetCaption(control::kStartButton, rows[kRowBurnIt]);
        burnList_->Empty();
        burnList_->SetAcceptsDroppedFiles(true);
        break;
    case kModeCdDataBurner:
        SetCaption(control::kHeading, rows[kRowCdDataBurnerHeading]);
        SetCaption(control::kDriveLabel, rows[kRowSelectDrive]);
        SetCaption(control::kStartButton, rows[kRowBurnIt]);
        SetCaption(control::kFirstOptionRadio, rows[kRowCopyDisk]);
        SetCaption(control::kSecondOptionRadio, rows[kRowCreateIsoFile]);
        SetCaption(control::kThirdOptionRadio, rows[kRowBurnIsoFile]);
        burnList_->Empty();
        break;
    case kModeDvdDataBurner:
        SetCaption(control::kHeading, rows[kRowDvdDataBurnerHeading]);
        SetCaption(control::kDriveLabel, rows[kRowSelectDrive]);
        SetCaption(control::kStartButton, rows[kRowBurnIt]);
        SetCaption(control::kFirstOptionRadio, "CD Data (700 MB)");
        SetCaption(control::kSecondOptionRadio, "DVD Data (4.7 GB)");
        SetCaption(control::kThirdOptionRadio, "DVD-DL Data (8.5 GB)");
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
    if (!SwitchMode(kModeVideoConverter)) return;
    totalBitRate_ = 0;
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
    if (option == 1) {
        burnList_->raise();
        burnList_->SetAcceptsDroppedFiles(true);
    } else {
        burnList_->SetAcceptsDroppedFiles(false);
    }
}

void CMediaMaster::ApplyDvdBurnOption(int option)
{
    const DvdOption& chosen = kDvdOptions[option - 3];
    state_.SetBurnOption(option);
    state_.SetDiscCapacity(chosen.capacity);
    ShowProgress(chosen.progressMaximum, 1);
    SetCaption(control::kUsageLeftLabel, chosen.leftLabel);
    SetCaption(control::kUsageRightLabel, chosen.rightLabel);
    UpdateDiscUsage();
}

void CMediaMaster::UpdateDiscUsage()
{
    OnUiThread([this] {
        const std::uint64_t used = state_.DiscUsed();
        const std::uint64_t capacity = state_.DiscCapacity();
        QString usedText;
        QString capacityText;
        if (Mode() == kModeAudioBurner) {
            SetCaption(control::kUsageRightLabel, Printf("%d min", static_cast<int>(capacity / 60)));
            SetStatusText(Printf("%d min", static_cast<int>(used / 60)));
            SetProgressPosition(used);
            return;
        }
        if (Mode() == kModeDvdDataBurner && state_.BurnOption() == 3) {
            usedText = Printf("%d MB", static_cast<int>(used / kMiB));
            capacityText = Printf("%d MB", static_cast<int>(capacity / kMiB));
        } else if (Mode() == kModeDvdDataBurner) {
            usedText = Printf("%0.2g GB", static_cast<double>(used) / kGiB);
            capacityText = Printf("%0.2g GB", static_cast<double>(capacity) / kMiB);
        }
        if (used == 0) usedText.clear();
        SetCaption(control::kUsageRightLabel, capacityText);
        SetStatusText(usedText);
        SetProgressPosition(used / kMiB);
    });
}

// ---- Buttons ---------------------------------------------------------------------------------

void CMediaMaster::OnBnClickedStart()
{
    char stamp[16];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y_%m_%d", &local);
    state_.SetDateStamp(stamp);
    if (Mode() == kModeWelcome) return;
    if (Mode() == kModeAudioConverter || Mode() == kModeVideoConverter || Mode() == kModeDvdCreator) {
        JobInput input = TakeJobInput();
        for (const Export needed : ConversionThread::ExportsNeeded(input))
            if (!RequireExport(needed)) return;
        Control(control::kStartButton)->setEnabled(false);
        conversion_.Start(*this, std::move(input), [this] {
            QMetaObject::invokeMethod(this, &CMediaMaster::OnJobFinished, Qt::QueuedConnection);
        });
        return;
    }
    burnJobs_->Start();
}

JobInput CMediaMaster::TakeJobInput() const
{
    JobInput input;
    input.mode = Mode();
    for (int row = 0; row < convertList_->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = convertList_->topLevelItem(row);
        ConvertRow& cells = input.rows.emplace_back();
        for (int column = 0; column < static_cast<int>(cells.cells.size()); ++column)
            cells.cells[column] = item->text(column).toStdString();
        cells.checked = item->checkState(0) == Qt::Checked;
    }
    input.formatRadio = controls_.formatGroup->checkedId();
    input.join = static_cast<QAbstractButton*>(Control(control::kJoinFilesCheck))->isChecked();
    input.burn = static_cast<QAbstractButton*>(Control(control::kBurnOutputCheck))->isChecked();
    input.driveText = controls_.driveList->currentText().toStdString();
    return input;
}

// A running job keeps the rows it was started with.
void CMediaMaster::OnMediaChanged()
{
    if (state_.Busy()) return;
    if (Mode() == kModeAudioConverter || Mode() == kModeCdDataBurner || Mode() == kModeDvdDataBurner)
        OnCbnSelchangeComboAcCdrom();
}

void CMediaMaster::OnJobFinished()
{
    conversion_.Join();
    Control(control::kStartButton)->setEnabled(true);
}

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
        if (burnJobs_->Running()) burnJobs_->RequestCancel();
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

// ---- Quality controls ------------------------------------------------------------------------

void CMediaMaster::ApplyVideoDefaults(const std::string& path)
{
    if (Mode() != kModeVideoConverter || !RequireExport(Export::GetDefaultPara)) return;
    MEDIACONVERSIONINFO request;
    if (path.size() >= sizeof request.szSourceFile) {
        LogMessage(1, "No defaults for %s: the path is longer than %zu bytes", path.c_str(), sizeof request.szSourceFile - 1);
        return;
    }
    std::memcpy(request.szSourceFile, path.c_str(), path.size() + 1);
    Lumetra().GetDefaultPara()(&request);

    static_cast<QLineEdit*>(Control(control::kAudioBitRateEdit))->setText(QString::number(request.nAudioBitRate));
    static_cast<QLineEdit*>(Control(control::kChannelsEdit))->setText(QString::number(request.nAudioChannels));
    static_cast<QLineEdit*>(Control(control::kVideoBitRateEdit))->setText(QString::number(request.nVideoBitRate));
    static_cast<QLineEdit*>(Control(control::kWidthEdit))->setText(QString::number(request.nWidth));
    static_cast<QLineEdit*>(Control(control::kHeightEdit))->setText(QString::number(request.nHeight));
    static_cast<QComboBox*>(Control(control::kSampleRateList))->setCurrentIndex(SampleRateIndex(request.nSampleRate));
    static_cast<QComboBox*>(Control(control::kFrameRateList))->setCurrentIndex(FrameRateIndex(request.nFrameRate));
    totalBitRate_ = request.nVideoBitRate + request.nAudioBitRate;
}

void CMediaMaster::CollectSettings(MEDIACONVERSIONINFO& request, const MEDIACONVERSIONINFO* defaults)
{
    OnUiThread([&] {
        if (Mode() == kModeDvdCreator) return;
        request.nAudioBitRate = EditNumber(control::kAudioBitRateEdit);
        request.nAudioChannels = EditNumber(control::kChannelsEdit);
        request.nSampleRate = TextNumber(static_cast<QComboBox*>(Control(control::kSampleRateList))->currentText());
        if (Mode() == kModeAudioConverter) {
            if (controls_.formatGroup->button(control::kFirstOptionRadio)->isChecked()) request.nOutputFormat = MediaLibrary::Header::kFormatMp3;
            else if (controls_.formatGroup->button(control::kSecondOptionRadio)->isChecked()) request.nOutputFormat = MediaLibrary::Header::kFormatWav;
        }
        if (Mode() != kModeVideoConverter) return;
        request.nVideoBitRate = EditNumber(control::kVideoBitRateEdit);
        request.nFrameRate = TextNumber(static_cast<QComboBox*>(Control(control::kFrameRateList))->currentText());
        request.nWidth = EditNumber(control::kWidthEdit);
        request.nHeight = EditNumber(control::kHeightEdit);
        if (!defaults) return;
        for (auto field : {&MEDIACONVERSIONINFO::nAudioBitRate, &MEDIACONVERSIONINFO::nSampleRate,
                           &MEDIACONVERSIONINFO::nVideoBitRate, &MEDIACONVERSIONINFO::nWidth, &MEDIACONVERSIONINFO::nHeight})
            if (request.*field <= 0) request.*field = defaults->*field;
    });
}

void CMediaMaster::OnBitRateChanged()
{
    totalBitRate_ = EditNumber(control::kVideoBitRateEdit) + EditNumber(control::kAudioBitRateEdit);
    UpdateOutputInfo(convertList_->TotalDuration());
}

void CMediaMaster::UpdateOutputInfo(std::int64_t totalSeconds)
{
    OnUiThread([this, totalSeconds] {
        const std::uint64_t kilobits = static_cast<std::uint64_t>(totalBitRate_) * static_cast<std::uint64_t>(totalSeconds);
        SetCaption(control::kFileSizeText, Printf("File Size : %0.2f MB", static_cast<double>(kilobits) * 0.125 / 1024));
        SetCaption(control::kDurationText, "Duration  : " + QString::fromStdString(FormatDuration(totalSeconds)));
    });
}

// ---- For job threads and the lists -----------------------------------------------------------

void CMediaMaster::EnableControls(bool busy)
{
    OnUiThread([this, busy] {
        for (const auto& [id, control] : controls_.controlMap) control->setEnabled(!busy);
        if (!busy) EnterMode(Mode());
    });
}

void CMediaMaster::ShowProgress(int maximum, int minimum)
{
    OnUiThread([this, maximum, minimum] {
        controls_.progress->setRange(minimum, maximum);
        controls_.progress->reset();
        controls_.progress->show();
        controls_.status->show();
    });
}

void CMediaMaster::SetStatusText(const QString& text)
{
    OnUiThread([this, text] { controls_.status->setText(text); });
}

bool CMediaMaster::ShowMessage(const QString& text, const QString& caption, MessageKind kind)
{
    bool answer = false;
    OnUiThread([&] { answer = desktop_.ShowMessage(this, text, caption, kind); });
    return answer;
}

bool CMediaMaster::RequireExport(Export which)
{
    if (Lumetra().Has(which)) return true;
    desktop_.ShowMessage(this,
                         QString("This operation needs %1 from the Lumetra library, which the installed library "
                                 "does not provide.")
                             .arg(QString::fromUtf8(LumetraBinding::Name(which))),
                         strings_[kRowTitle], MessageKind::Plain);
    return false;
}

void CMediaMaster::SetJoinEnabled(bool enabled)
{
    Control(control::kJoinFilesCheck)->setEnabled(enabled);
}

void CMediaMaster::StepProgress()
{
    OnUiThread([this] { SetProgressPosition(static_cast<std::uint64_t>(controls_.progress->value() + 1)); });
}

void CMediaMaster::EndProgress()
{
    OnUiThread([this] {
        controls_.progress->setValue(controls_.progress->minimum());
        controls_.progress->show();
        controls_.status->show();
    });
}

std::string CMediaMaster::ChooseOutputFolder()
{
    QString folder;
    OnUiThread([&] { folder = desktop_.ChooseFolder(this, strings_[kRowChooseOutputFolder]); });
    return folder.toStdString();
}

std::string CMediaMaster::ChooseJoinedFile()
{
    QString file;
    OnUiThread([&] { file = desktop_.ChooseSaveFile(this, DialogFilter({kConvertedFileFilter})); });
    return file.toStdString();
}

// The picture is loaded when the message arrives, so that loading and painting never overlap.
void CMediaMaster::ShowPreview(const std::string& picture)
{
    QMetaObject::invokeMethod(this, [this, picture = QString::fromStdString(picture)] { OnShowPreview(picture); },
                              Qt::QueuedConnection);
}

void CMediaMaster::OnShowPreview(const QString& picture)
{
    preview_->LoadPicture(picture);
    preview_->show();
    preview_->activateWindow();
    preview_->repaint();
}

void CMediaMaster::HidePreview()
{
    QMetaObject::invokeMethod(preview_, &CShowThumbNail::Conceal, Qt::QueuedConnection);
}

void CMediaMaster::UncheckRow(int row)
{
    OnUiThread([this, row] {
        if (QTreeWidgetItem* item = convertList_->topLevelItem(row)) item->setCheckState(0, Qt::Unchecked);
    });
}

void CMediaMaster::PostCommand(int id)
{
    QMetaObject::invokeMethod(static_cast<QAbstractButton*>(Control(id)), &QAbstractButton::click,
                              Qt::QueuedConnection);
}

// ---- Small helpers ---------------------------------------------------------------------------

template <typename Action>
void CMediaMaster::OnUiThread(Action&& action)
{
    if (QThread::currentThread() == thread()) action();
    else QMetaObject::invokeMethod(this, std::forward<Action>(action), Qt::BlockingQueuedConnection);
}

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

QString CMediaMaster::EditText(int id) const
{
    return static_cast<QLineEdit*>(Control(id))->text();
}

int CMediaMaster::EditNumber(int id) const
{
    return TextNumber(EditText(id));
}

}  // namespace velmora::front
