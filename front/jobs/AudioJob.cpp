#include "AudioJob.h"

#include "JobFrame.h"
#include "JobPaths.h"
#include "WatchedConversion.h"
#include "Lumetra.h"
#include "core/LumetraBinding.h"
#include "core/UiStrings.h"

#include <QString>

namespace velmora::front {
namespace {

using MediaLibrary::Header::RIP_TRACK_REPORT;

QString StatusOf(const ConvertRow& row, const UiStrings& strings)
{
    if (row.kind == SourceKind::CdTrack)
        return strings[kRowConverting] + " " + strings[kRowTrack] + " - " + QString::number(row.trackNumber) + "....";
    return strings[kRowConverting] + " - " + QString::fromStdString(row.sourcePath) + "....";
}

// The disc rip of the job's CD tracks, opened with the first of them and closed (its log
// written) when the job ends, as the command line's rip does.
class CdTrackRips {
public:
    CdTrackRips(const std::string& drive, const std::string& folder, const MediaLibrary::Header::MEDIACONVERSIONINFO& request)
        : drive_(drive.empty() ? '\0' : drive.front()), folder_(folder), request_(request)
    {
    }
    ~CdTrackRips()
    {
        if (rip_) Lumetra().EndDiscRip()(rip_, nullptr, 0);
    }
    CdTrackRips(const CdTrackRips&) = delete;
    CdTrackRips& operator=(const CdTrackRips&) = delete;

    // Rips the track into its named file; the library's reason when it did not.
    std::string Rip(int track, RIP_TRACK_REPORT& report)
    {
        if (!rip_ && opening_.empty()) {
            rip_ = Lumetra().BeginDiscRip()(drive_, folder_.c_str(), request_);
            if (!rip_) opening_ = LastLibraryFailure();
        }
        if (!rip_) return opening_.empty() ? std::string("the disc cannot be read") : opening_;
        return Lumetra().RipDiscTrack()(rip_, track, &report) == 0 ? std::string() : LastLibraryFailure();
    }

private:
    char drive_;
    std::string folder_;
    MediaLibrary::Header::MEDIACONVERSIONINFO request_;
    LumetraDiscRip* rip_ = nullptr;
    std::string opening_;   // why the disc could not be opened
};

}  // namespace

void RunAudioJob(JobHost& host, const JobInput& input)
{
    if (input.rows.empty()) return;
    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    host.CollectSettings(request, nullptr);
    const std::string extension = request.nOutputFormat == MediaLibrary::Header::kFormatWav ? "wav" : "mp3";
    const std::string folder = host.ChooseOutputFolder();
    if (folder.empty()) return;

    JobFrame frame(host, PlayLengthsOf(input.rows, true));
    frame.Outcome().SetDestination(folder);
    CdTrackRips disc(input.cdDrive, folder, request);
    for (int index = 0; index < static_cast<int>(input.rows.size()); ++index) {
        if (host.State().CancelRequested()) break;
        const ConvertRow& row = input.rows[static_cast<std::size_t>(index)];
        if (!row.checked) continue;
        frame.Progress().NextFile(StatusOf(row, host.Strings()));
        if (row.kind == SourceKind::CdTrack) {
            RIP_TRACK_REPORT report;
            const std::string reason =
                RunWatched(host, frame.Progress(), [&] { return disc.Rip(row.trackNumber, report); });
            if (host.State().CancelRequested()) break;
            frame.Outcome().Ripped(row.sourcePath, report.szOutputFile, report.szVerdict, reason);
        } else {
            const std::string output = folder + "/" + std::string(platform::TitlePart(row.sourcePath)) + "." + extension;
            std::string reason = SetRequestPaths(request, row.sourcePath, output);
            if (reason.empty()) reason = RunWatched(host, frame.Progress(), Export::Convert_Wav_TO_MP3, request);
            if (host.State().CancelRequested()) break;
            frame.Outcome().Check(row.sourcePath, output, reason);
        }
        host.UncheckRow(index);
    }
    if (host.State().CancelRequested()) frame.Outcome().Cancelled();
}

}  // namespace velmora::front
