#include "CBurnJobs.h"

#include "BurnRows.h"
#include "BurnSources.h"
#include "core/LumetraBinding.h"
#include "core/Mode.h"
#include "image/IsoCheck.h"
#include "jobs/BurnFlow.h"
#include "jobs/AudioDiscCopy.h"
#include "jobs/DataDiscCopy.h"
#include "jobs/DiscCopy.h"
#include "jobs/TrackSources.h"
#include "log/Log.h"
#include "mastering/ProgressText.h"
#include "paths/PathParts.h"
#include "temp/ScopedTempFolder.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <cctype>
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
    std::vector<std::filesystem::path> files;
    for (const ImageEntry& entry : input_.entries) files.push_back(entry.path);
    const auto prepared = PrepareAudioDisc(
        files, conversions.Path(), LibraryMp3Decoder(Lumetra().Convert_MP3_TO_WAV(), Lumetra().GetLastFailure()));
    if (const auto* refused = std::get_if<TrackRefusal>(&prepared)) {
        RefuseTrack(refused->file, refused->reason);
        return;
    }
    const auto& disc = std::get<AudioDisc>(prepared);
    audioWrite_ = true;
    BurnFlow(*this).BurnAudioDisc(*choice, disc.tracks, disc.text, input_.verify);
    audioWrite_ = false;
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
    if (const auto choice = ChooseRecorder()) BurnFlow(*this).BurnDataDisc(*choice, input_.entries, input_.verify);
}

void CBurnJobs::CreateIsoJob()
{
    if (input_.entries.empty()) return;
    const std::string path = AskIsoSavePath();
    if (path.empty()) return;
    if (const auto choice = ChooseRecorder()) BurnFlow(*this).WriteIsoFile(*choice, input_.entries, path);
}

void CBurnJobs::BurnIsoJob(const std::optional<std::string>& preselected, std::string path)
{
    if (!preselected) {
        path = host_.ChooseIsoFileToBurn();
        if (path.empty()) return;
    }
    if (platform::LowerExtension(path) != ".iso") return;
    // Writing anything else would waste a disc.
    if (auto why = WhyNotWholeIsoImage(path)) {
        (*why)[0] = static_cast<char>(std::toupper(static_cast<unsigned char>((*why)[0])));
        SendStatus(*why + ": " + path);
        return;
    }
    const auto selected = preselected ? preselected : ChooseRecorder();
    if (selected) BurnFlow(*this).BurnIsoImage(*selected, path, input_.verify);
}

// A data disc is copied into an ISO file the user keeps, an audio CD into WAVs of a folder of the
// job's own; then the copied disc comes out and the copy is burnt onto the blank disc chosen.
void CBurnJobs::DiscCopyJob()
{
    const auto drive = CopyDrive(input_.sourceDrive.substr(0, kEntryTextLimit));
    const CopySource found = drive ? CopySourceOf(*drive) : CopySource::NoMedia;
    if (found == CopySource::AudioCd) {
        AudioCopyJob(*drive);
        return;
    }
    const std::string path = AskIsoSavePath();
    if (path.empty()) return;
    if (found == CopySource::NoMedia) {
        host_.ShowMessage(host_.Strings()[kRowNoMediaFound], host_.Strings()[kRowTitle], MessageKind::Plain);
        return;
    }
    SendStatus(UiText(kRowCreatingIsoImage));
    if (CopyDataDisc(*drive, path, *this) < 0) return;
    EjectSource(*drive);
    if (const auto target = host_.ChooseTargetRecorder(false)) BurnIsoJob(target, path);
}

void CBurnJobs::AudioCopyJob(const platform::Drive& drive)
{
    const auto rip = LibraryDiscRip();
    if (!rip) {
        SendResult(kNotSupported, "The audio CD was not copied: the conversion library cannot rip discs");
        return;
    }
    const platform::ScopedTempFolder folder("copy");
    if (folder.Path().empty()) {
        SendResult(kFileError, "The audio CD was not copied: no folder for its tracks - " + folder.Notice());
        return;
    }
    audioWrite_ = true;
    if (const auto disc = RipAudioDisc(drive, folder.Path(), *rip, *this)) {
        EjectSource(drive);
        // The ripped tracks go with the job's folder: a copy not burnt now is no copy at all.
        if (const auto target = host_.ChooseTargetRecorder(true))
            BurnFlow(*this).BurnAudioDisc(*target, disc->tracks, disc->text, input_.verify);
        else
            SendResult(kOk, "User Canceled!");
    }
    audioWrite_ = false;
}

// ---- Steps the jobs share --------------------------------------------------------------------

std::optional<std::string> CBurnJobs::ChooseRecorder()
{
    if (!input_.recorder) SendResult(kOk, "Error: No Device Selected");
    return input_.recorder;
}

std::string CBurnJobs::AskIsoSavePath()
{
    std::string path = host_.ChooseIsoFileToWrite();
    if (!path.empty() && std::filesystem::path(path).extension().empty()) path += ".iso";
    return path;
}

// ---- What the writers report -----------------------------------------------------------------

int CBurnJobs::SendProgress(const WriteProgress& progress)
{
    const std::string text = ProgressStatusText(progress, audioWrite_, *this);
    if (!text.empty()) host_.SetStatusText(QString::fromStdString(text));
    if (progress.bytesTotal > 0) host_.ShowBurnProgress(progress.bytesDone, progress.bytesTotal);
    return IsCancelRequested() ? 0 : 1;
}

void CBurnJobs::SendStatus(const std::string& text)
{
    host_.SetStatusText(QString::fromStdString(text));
}

void CBurnJobs::SendResult(HResult hr, const std::string& text)
{
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

// The engine asks for the window's texts by the rows it knows them by.
static_assert(kRowInitializingRecorder == BurnWindow::kInitializingRecorderRow &&
              kRowCreatingIsoImage == BurnWindow::kCreatingIsoImageRow &&
              kRowFinalizingImage == BurnWindow::kFinalizingImageRow &&
              kRowWritingIsoImage == BurnWindow::kWritingIsoImageRow &&
              kRowBurnCompleted == BurnWindow::kBurnCompletedRow &&
              kRowMediaNotWritable == BurnWindow::kMediaNotWritableRow &&
              kRowBurnProgress == BurnWindow::kBurnProgressRow && kRowTimeLeft == BurnWindow::kTimeLeftRow &&
              kRowBurnVerified == BurnWindow::kBurnVerifiedRow && kRowVerifying == BurnWindow::kVerifyingRow &&
              kRowVerifyProgress == BurnWindow::kCheckedRow && kRowReadProgress == BurnWindow::kReadRow);

std::string CBurnJobs::UiText(int row)
{
    return host_.Strings()[row].toStdString();
}

void CBurnJobs::ShowError(int row)
{
    host_.ShowMessage(host_.Strings()[row], host_.Strings()[kRowTitle], MessageKind::Error);
}

}  // namespace velmora::front
