#include "CBurnJobs.h"

#include "BurnRows.h"
#include "BurnSources.h"
#include "core/Mode.h"
#include "drives/DriveTable.h"
#include "image/IsoCheck.h"
#include "log/Log.h"
#include "paths/PathParts.h"
#include "temp/ScopedTempFolder.h"
#include "writers/DiscFormatAudio.h"
#include "writers/DiscFormatData.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <filesystem>

namespace velmora::front {

using namespace discburn;

namespace {

constexpr std::size_t kEntryTextLimit = 49;

}  // namespace

CBurnJobs::CBurnJobs(BurnHost& host) : host_(host) {}

CBurnJobs::~CBurnJobs()
{
    Stop();
}

void CBurnJobs::Stop()
{
    if (!thread_.joinable()) return;
    // The burn thread may be waiting for the UI thread: keep answering it until it is done.
    RequestCancel();
    while (running_) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    Join();
}

bool CBurnJobs::Start(BurnInput input, std::function<void()> finished)
{
    if (running_) return false;
    Join();
    input_ = std::move(input);
    finished_ = std::move(finished);
    host_.State().SetCancelRequest(false);
    host_.State().SetBusy(true);
    running_ = true;
    thread_ = std::thread(&CBurnJobs::BurnThread, this);
    return true;
}

void CBurnJobs::Join()
{
    if (thread_.joinable()) thread_.join();
}

void CBurnJobs::RequestCancel()
{
    if (running_) host_.State().SetCancelRequest(true);
}

void CBurnJobs::BurnThread()
{
    host_.EnableControls(true);
    switch (input_.mode) {
    case kModeAudioBurner:
        AudioBurnJob();
        break;
    case kModeCdDataBurner:
        switch (input_.option) {
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
    host_.State().SetBusy(false);
    host_.EnableControls(false);
    running_ = false;
    if (finished_) finished_();
}

// ---- The jobs --------------------------------------------------------------------------------

void CBurnJobs::AudioBurnJob()
{
    if (input_.entries.empty()) return;
    const auto choice = ChooseRecorder();
    if (!choice) return;
    // Every track is ready before anything is written: a disc with a track missing is no success.
    const platform::ScopedTempFolder conversions("burn");
    if (conversions.Path().empty()) LogMessage(1, "No folder for converted audio tracks: %s", conversions.Notice().c_str());
    std::vector<AudioTrack> tracks;
    for (const ImageEntry& entry : input_.entries) {
        auto prepared = PrepareBurnTrack(entry.path, conversions.Path());
        if (const auto* reason = std::get_if<std::string>(&prepared)) {
            RefuseTrack(entry.path, *reason);
            return;
        }
        tracks.push_back(std::get<AudioTrack>(std::move(prepared)));
    }
    CRecorderDevice device;
    if (!OpenBurnRecorder(device, *choice, true)) return;

    CDiscFormatAudio writer;
    writer.doNotFinalize = true;
    if (writer.Initialize(&device, kClientName)) {
        audioWrite_ = true;
        writer.BurnTracks(this, tracks);
        audioWrite_ = false;
        if (writer.hr == kMediaNotBlank) ShowError(kRowMediaNotWritable);
        device.Eject();
    }
    EndJob(device, writer.hr, writer.errorText);
}

void CBurnJobs::RefuseTrack(const std::filesystem::path& file, const std::string& reason)
{
    const std::string said = file.filename().string() + ": " + reason;
    LogMessage(1, "Audio CD not written: %s", said.c_str());
    host_.ShowMessage(QString::fromStdString("Nothing was written: a track cannot go onto the audio CD.\n\n" + said),
                      host_.Strings()[kRowTitle], MessageKind::Error);
    SendResult(kFileError, "Burn stopped before writing - " + said);
}

void CBurnJobs::DataBurnJob()
{
    if (input_.entries.empty()) return;
    const auto choice = ChooseRecorder();
    if (!choice) return;
    CRecorderDevice device;
    if (!OpenBurnRecorder(device, *choice, true)) return;

    CDiscFormatData writer;
    writer.closeMedia = true;
    if (writer.Initialize(&device, kClientName, false)) {
        if (!writer.IsBlankMedia()) {
            ShowError(kRowMediaNotWritable);
        } else if (auto image = BuildImage(*this, input_.entries)) {
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
    if (input_.entries.empty()) return;
    const std::string path = AskIsoSavePath();
    if (path.empty()) return;
    const auto choice = ChooseRecorder();
    if (!choice) return;
    WriteIsoFile(*choice, true, input_.entries, path, true);
}

void CBurnJobs::BurnIsoJob(const std::optional<std::string>& preselected, std::string path)
{
    if (!preselected) {
        path = host_.ChooseIsoFileToBurn();
        if (path.empty()) return;
    }
    if (platform::LowerExtension(path) != ".iso") return;
    // Writing anything else would waste a disc.
    if (!IsIso9660Image(path)) {
        SendStatus("Not an ISO 9660 image: " + path);
        return;
    }
    const auto selected = ChooseRecorder();
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
    const std::string source = input_.sourceDrive.substr(0, kEntryTextLimit);
    const auto drives = platform::DriveTable::Load();
    if (!drives.FindFiles(source + "*.cda").empty()) {
        host_.ShowMessage(host_.Strings()[kRowAudioCdCopyMissing], host_.Strings()[kRowTitle], MessageKind::Plain);
        return;
    }
    const std::string path = AskIsoSavePath();
    if (path.empty()) return;

    const platform::Drive* drive = drives.FindByPath(source);
    const auto names = drives.FindFiles(source + "*");
    if (!drive || names.empty()) {
        host_.ShowMessage(host_.Strings()[kRowNoMediaFound], host_.Strings()[kRowTitle], MessageKind::Plain);
        return;
    }
    std::vector<ImageEntry> entries;
    for (const auto& name : names) {
        if (name == "." || name == "..") continue;
        const auto found = drive->source / name;
        std::error_code error;
        entries.push_back({found, std::filesystem::is_directory(found, error)});
    }

    const auto choice = ChooseRecorder();
    if (!choice || !WriteIsoFile(*choice, false, entries, path, false)) return;
    if (const auto target = host_.ChooseTargetRecorder()) BurnIsoJob(target, path);
}

// ---- Steps the jobs share --------------------------------------------------------------------

bool CBurnJobs::WriteIsoFile(const std::string& recorderId, bool exclusive, const std::vector<ImageEntry>& entries,
                             const std::string& path, bool showFinalizing)
{
    CRecorderDevice device;
    if (!OpenBurnRecorder(device, recorderId, exclusive)) return false;
    CDiscFormatData writer;
    if (writer.Initialize(&device, kClientName, exclusive)) {
        auto image = BuildImage(*this, entries);
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

std::optional<std::string> CBurnJobs::ChooseRecorder()
{
    if (!input_.recorder) SendResult(kOk, "Error: No Device Selected");
    return input_.recorder;
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

std::string CBurnJobs::AskIsoSavePath()
{
    std::string path = host_.ChooseIsoFileToWrite();
    if (!path.empty() && std::filesystem::path(path).extension().empty()) path += ".iso";
    return path;
}

void CBurnJobs::ShowError(int row)
{
    host_.ShowMessage(host_.Strings()[row], host_.Strings()[kRowTitle], MessageKind::Error);
}

void CBurnJobs::ShowStatus(int row)
{
    SendStatus(UiText(row));
}

// ---- What the writers report -----------------------------------------------------------------

int CBurnJobs::SendProgress(const WriteProgress& progress)
{
    const QString text = ProgressStatusText(progress, audioWrite_);
    if (!text.isNull()) host_.SetStatusText(text);
    return IsCancelRequested() ? 0 : 1;
}

void CBurnJobs::SendStatus(const std::string& text)
{
    host_.SetStatusText(QString::fromStdString(text));
}

void CBurnJobs::SendResult(HResult hr, const std::string& text)
{
    lastResult_ = {hr, text};
    QString shown;
    if (!text.empty()) shown = ResultStatusText(hr, QString::fromStdString(text));
    else if (hr >= 0) shown = host_.Strings()[kRowBurnCompleted];
    else shown = QString::fromStdString(WithCode("Burn failed! Error: 0x%08x", hr));
    host_.SetStatusText(shown);
}

bool CBurnJobs::IsCancelRequested()
{
    return host_.State().CancelRequested();
}

std::string CBurnJobs::DateStamp()
{
    return input_.volumeName;
}

std::string CBurnJobs::UiText(int row)
{
    return host_.Strings()[row].toStdString();
}

}  // namespace velmora::front
