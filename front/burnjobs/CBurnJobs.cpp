#include "CBurnJobs.h"

#include "BurnRows.h"
#include "BurnSources.h"
#include "CDriveSelector.h"
#include "lists/CFileListBox.h"
#include "main/CMediaMaster.h"
#include "support/Desktop.h"
#include "lists/Entries.h"
#include "lists/FileDialogs.h"
#include "lists/ListHost.h"
#include "log/Log.h"
#include "writers/DiscFormatAudio.h"
#include "writers/DiscFormatData.h"
#include "image/IsoCheck.h"
#include "recorders/RecorderProbe.h"
#include "drives/DriveTable.h"
#include "temp/TempFolder.h"
#include "core/ControlIds.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>

namespace velmora::front {

using namespace discburn;

namespace {

constexpr std::size_t kEntryTextLimit = 49;

std::string LowerExtension(const std::filesystem::path& file)
{
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// A folder of the user's temporary folder for one audio burn's converted files, removed with them.
class ConversionFolder {
public:
    ConversionFolder()
    {
        const auto base = platform::PrivateTempFolder().path;
        if (base.empty()) return;
        std::string pattern = (base / "burn-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
        else LogMessage(1, "No folder for converted audio tracks in %s", base.c_str());
    }
    ~ConversionFolder()
    {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ConversionFolder(const ConversionFolder&) = delete;
    ConversionFolder& operator=(const ConversionFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace

CBurnJobs::CBurnJobs(CMediaMaster& window, Desktop& desktop)
    : window_(window), desktop_(desktop), cancelButton_(new QPushButton(window.Strings()[kRowCancel], &window))
{
    // Cancel takes the place of the start button, which is disabled while the burn runs.
    cancelButton_->setGeometry(window.Control(control::kStartButton)->geometry());
    cancelButton_->hide();
    connect(cancelButton_, &QPushButton::clicked, this, &CBurnJobs::RequestCancel);
    connect(static_cast<QComboBox*>(window.Control(control::kDriveList)), &QComboBox::currentIndexChanged, this,
            &CBurnJobs::ProbeSelectedRecorder);
}

CBurnJobs::~CBurnJobs()
{
    if (!thread_.joinable()) return;
    // The burn thread may be waiting for the UI thread: keep answering it until it is done.
    RequestCancel();
    while (running_) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    thread_.join();
}

void CBurnJobs::FillDriveList()
{
    auto& list = *static_cast<QComboBox*>(window_.Control(control::kDriveList));
    FillRecorderList(list, records_, [this](const std::string& text) {
        window_.ShowMessage(QString::fromStdString(text), window_.Strings()[kRowTitle], MessageKind::Error);
    });
    ProbeSelectedRecorder(list.currentIndex());
}

void CBurnJobs::ProbeSelectedRecorder(int index)
{
    const int mode = window_.Mode();
    if (mode < kModeAudioBurner || mode > kModeDvdDataBurner || running_) return;
    if (CRecorderDevice* recorder = records_.At(index)) ProbeRecorder(*recorder, mode);
}

void CBurnJobs::Start()
{
    if (running_) return;
    if (thread_.joinable()) thread_.join();
    window_.State().SetCancelRequest(false);
    window_.State().SetBusy(true);
    running_ = true;
    cancelButton_->show();
    cancelButton_->raise();
    thread_ = std::thread(&CBurnJobs::BurnThread, this);
}

void CBurnJobs::RequestCancel()
{
    if (running_) window_.State().SetCancelRequest(true);
}

void CBurnJobs::BurnThread()
{
    window_.State().SetBusy(true);
    window_.EnableControls(true);
    switch (window_.Mode()) {
    case kModeAudioBurner:
        AudioBurnJob();
        break;
    case kModeCdDataBurner:
        switch (window_.State().BurnOption()) {
        case 0: DiscCopyJob(); break;
        case 1: CreateIsoJob(); break;
        case 2: BurnIsoJob(std::nullopt, {}); break;
        default: break;
        }
        break;
    case kModeDvdDataBurner:
        DataBurnJob();
        break;
    default:
        break;
    }
    OnUiThread([this] {
        auto* progress = static_cast<QProgressBar*>(window_.Control(control::kProgressBar));
        progress->reset();
        progress->show();
        window_.Control(control::kStatusText)->show();
        cancelButton_->hide();
    });
    window_.State().SetBusy(false);
    window_.EnableControls(false);
    running_ = false;
}

// ---- The jobs --------------------------------------------------------------------------------

void CBurnJobs::AudioBurnJob()
{
    std::vector<std::filesystem::path> files;
    for (const CBaseObject* entry : BurnListEntries()) files.emplace_back(entry->Path());
    if (files.empty()) return;
    const RecorderChoice choice = ChooseRecorder();
    if (!choice) return;
    CRecorderDevice device;
    if (!OpenBurnRecorder(device, *choice, true)) return;

    CDiscFormatAudio writer;
    writer.doNotFinalize = true;
    if (writer.Initialize(&device, kClientName)) {
        const ConversionFolder conversions;
        std::vector<AudioTrack> tracks;
        for (const auto& file : files)
            if (auto track = GetBurnStream(file, conversions.Path())) tracks.push_back(std::move(*track));
        audioWrite_ = true;
        writer.BurnTracks(this, tracks);
        audioWrite_ = false;
        device.Eject();
    }
    EndJob(device, writer.hr, writer.errorText);
}

void CBurnJobs::DataBurnJob()
{
    const auto entries = BurnListEntries();
    if (entries.empty()) return;
    const RecorderChoice choice = ChooseRecorder();
    if (!choice) return;
    CRecorderDevice device;
    if (!OpenBurnRecorder(device, *choice, true)) return;

    CDiscFormatData writer;
    writer.closeMedia = true;
    if (writer.Initialize(&device, kClientName, false)) {
        if (!writer.IsBlankMedia()) {
            ShowError(kRowMediaNotWritable);
        } else if (auto image = BuildImageFromEntries(*this, entries)) {
            writer.closeMedia = true;
            writer.Write(image.get(), this);
            device.Eject();
        } else {
            EndJob(device, lastResult_.first, lastResult_.second);
            return;
        }
    }
    EndJob(device, writer.hr, writer.errorText);
}

void CBurnJobs::CreateIsoJob()
{
    const auto entries = BurnListEntries();
    if (entries.empty()) return;
    const std::string path = AskIsoSavePath();
    if (path.empty()) return;
    const RecorderChoice choice = ChooseRecorder();
    if (!choice) return;
    WriteIsoFile(*choice, true, entries, path, true);
}

void CBurnJobs::BurnIsoJob(const RecorderChoice& preselected, std::string path)
{
    if (!preselected) {
        OnUiThread([&] { path = desktop_.ChooseExistingFile(&window_, DialogFilter({kIsoFilesFilter})).toStdString(); });
        if (path.empty()) return;
    }
    if (LowerExtension(path) != ".iso") return;
    // Writing anything else would waste a disc.
    if (!IsIso9660Image(path)) {
        SendStatus("Not an ISO 9660 image: " + path);
        return;
    }
    const RecorderChoice selected = ChooseRecorder();
    if (!selected) return;
    CRecorderDevice device;
    if (!OpenBurnRecorder(device, preselected ? *preselected : *selected, true)) return;

    CDiscFormatData writer;
    if (writer.Initialize(&device, kClientName, false)) {
        if (BurnSource* source = FileBurnSource(path)) {
            ShowStatus(kRowWritingIsoImage);
            ImageStream image(source);
            writer.closeMedia = true;
            writer.Write(&image, this);
            device.Eject();
        } else {
            writer.hr = kFileError;
            writer.errorText = "Cannot read " + path;
        }
    }
    EndJob(device, writer.hr, writer.errorText);
}

void CBurnJobs::DiscCopyJob()
{
    std::string source;
    OnUiThread([&] {
        source = static_cast<QComboBox*>(window_.Control(control::kDriveList))->currentText().toStdString();
    });
    source.resize(std::min(source.size(), kEntryTextLimit));
    const auto drives = platform::DriveTable::Load();
    if (!drives.FindFiles(source + "*.cda").empty()) {
        window_.ShowMessage(window_.Strings()[kRowAudioCdCopyMissing], window_.Strings()[kRowTitle], MessageKind::Plain);
        return;
    }
    const std::string path = AskIsoSavePath();
    if (path.empty()) return;

    const platform::Drive* drive = drives.FindByPath(source);
    const auto names = drives.FindFiles(source + "*");
    if (!drive || names.empty()) {
        window_.ShowMessage(window_.Strings()[kRowNoMediaFound], window_.Strings()[kRowTitle], MessageKind::Plain);
        return;
    }
    std::vector<std::unique_ptr<CBaseObject>> owned;
    std::vector<const CBaseObject*> entries;
    for (const auto& name : names) {
        if (name == "." || name == "..") continue;
        const auto found = drive->source / name;
        std::error_code error;
        if (std::filesystem::is_directory(found, error)) owned.push_back(std::make_unique<CDirObject>(found.string()));
        else owned.push_back(std::make_unique<CFileObject>(found.string()));
        entries.push_back(owned.back().get());
    }

    const RecorderChoice choice = ChooseRecorder();
    if (!choice || !WriteIsoFile(*choice, false, entries, path, false)) return;

    RecorderChoice target;
    OnUiThread([&] {
        CDriveSelector selector(window_.Strings().english(), desktop_, &window_);
        if (desktop_.RunDialog(selector) == QDialog::Accepted) target = selector.ChosenId();
    });
    if (target) BurnIsoJob(target, path);
}

// ---- Steps the jobs share --------------------------------------------------------------------

bool CBurnJobs::WriteIsoFile(const std::string& recorderId, bool exclusive,
                             const std::vector<const CBaseObject*>& entries, const std::string& path,
                             bool showFinalizing)
{
    CRecorderDevice device;
    if (!OpenBurnRecorder(device, recorderId, exclusive)) return false;
    CDiscFormatData writer;
    if (writer.Initialize(&device, kClientName, exclusive)) {
        auto image = BuildImageFromEntries(*this, entries);
        if (!image) {
            EndJob(device, lastResult_.first, lastResult_.second);
            return false;
        }
        ShowStatus(kRowCreatingIsoImage);
        writer.closeMedia = true;
        writer.CreateISO(image.get(), this, path);
        if (showFinalizing) ShowStatus(kRowFinalizingImage);
        device.Eject();
    }
    EndJob(device, writer.hr, writer.errorText);
    return writer.hr >= 0;
}

CBurnJobs::RecorderChoice CBurnJobs::ChooseRecorder()
{
    RecorderChoice choice;
    OnUiThread([&] {
        const int index = static_cast<QComboBox*>(window_.Control(control::kDriveList))->currentIndex();
        if (index < 0) return;
        const CRecorderDevice* record = records_.At(index);
        choice = record ? record->uniqueId : std::string();
    });
    if (!choice) SendResult(kOk, "Error: No Device Selected");
    return choice;
}

bool CBurnJobs::OpenBurnRecorder(CRecorderDevice& device, const std::string& entryId, bool exclusive)
{
    if (IsCancelRequested()) {
        SendResult(kOk, "User Canceled!");
        return false;
    }
    ShowStatus(kRowInitializingRecorder);
    if (entryId.empty()) {
        SendResult(kOk, "Error: No Recorder Found for selected device");
        return false;
    }
    if (!device.Open(entryId)) {
        SendResult(device.hr, "Failed to initialize recorder - Unique ID:" + entryId);
        return false;
    }
    if (!exclusive || device.AcquireExclusive(kClientName)) return true;
    SendResult(device.hr, "Failed: " + device.ExclusiveOwner() + " is exclusive owner");
    return false;
}

void CBurnJobs::EndJob(CRecorderDevice& device, HResult hr, const std::string& errorText)
{
    device.ReleaseExclusive();
    // A stop the user asked for says so, rather than naming the step it interrupted.
    if (hr < 0 && IsCancelRequested()) SendResult(kOk, "User Canceled!");
    else SendResult(hr, errorText);
}

std::vector<const CBaseObject*> CBurnJobs::BurnListEntries()
{
    // The list cannot change while the job runs: the window's controls are disabled.
    std::vector<const CBaseObject*> entries;
    OnUiThread([&] {
        const CFileListBox& list = window_.BurnList();
        for (int row = 0; row < list.count(); ++row)
            if (const CBaseObject* entry = list.EntryAt(row)) entries.push_back(entry);
    });
    return entries;
}

std::string CBurnJobs::AskIsoSavePath()
{
    std::string path;
    OnUiThread([&] { path = desktop_.ChooseSaveFile(&window_, DialogFilter({kIsoFilesFilter})).toStdString(); });
    if (!path.empty() && std::filesystem::path(path).extension().empty()) path += ".iso";
    return path;
}

void CBurnJobs::ShowError(int row)
{
    window_.ShowMessage(window_.Strings()[row], window_.Strings()[kRowTitle], MessageKind::Error);
}

void CBurnJobs::ShowStatus(int row)
{
    SendStatus(UiText(row));
}

// ---- What the writers report -----------------------------------------------------------------

int CBurnJobs::SendProgress(const WriteProgress& progress)
{
    int reply = 1;
    OnUiThread([&] {
        const QString text = ProgressStatusText(progress, audioWrite_);
        if (!text.isNull()) window_.SetStatusText(text);
        reply = window_.State().CancelRequested() ? 0 : 1;
    });
    return reply;
}

void CBurnJobs::SendStatus(const std::string& text)
{
    window_.SetStatusText(QString::fromStdString(text));
}

void CBurnJobs::SendResult(HResult hr, const std::string& text)
{
    lastResult_ = {hr, text};
    QString shown;
    if (!text.empty()) shown = ResultStatusText(hr, QString::fromStdString(text));
    else if (hr >= 0) shown = window_.Strings()[kRowBurnCompleted];
    else shown = QString::fromStdString(WithCode("Burn failed! Error: 0x%08x", hr));
    window_.SetStatusText(shown);
}

bool CBurnJobs::IsCancelRequested()
{
    return window_.State().CancelRequested();
}

std::string CBurnJobs::DateStamp()
{
    return window_.State().DateStamp();
}

std::string CBurnJobs::UiText(int row)
{
    return window_.Strings()[row].toStdString();
}

template <typename Action>
void CBurnJobs::OnUiThread(Action&& action)
{
    if (QThread::currentThread() == thread()) action();
    else QMetaObject::invokeMethod(this, std::forward<Action>(action), Qt::BlockingQueuedConnection);
}

}  // namespace velmora::front
