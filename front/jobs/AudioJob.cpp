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

// A CD track is read from its drive ("D:3"), a file from its path.
std::string SourceOf(const ConvertRow& row, const std::string& drive)
{
    return row.kind == SourceKind::CdTrack ? drive + std::to_string(row.trackNumber) : row.sourcePath;
}

QString StatusOf(const ConvertRow& row, const std::string& source, const UiStrings& strings)
{
    if (row.kind == SourceKind::CdTrack)
        return strings[kRowConverting] + " " + strings[kRowTrack] + " - " + QString::number(row.trackNumber) + "....";
    return strings[kRowConverting] + " - " + QString::fromStdString(source) + "....";
}

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
    for (int index = 0; index < static_cast<int>(input.rows.size()); ++index) {
        if (host.State().CancelRequested()) break;
        const ConvertRow& row = input.rows[static_cast<std::size_t>(index)];
        if (!row.checked) continue;
        const bool cdTrack = row.kind == SourceKind::CdTrack;
        const std::string source = SourceOf(row, input.cdDrive);
        const std::string output = folder + "/" + std::string(platform::TitlePart(row.sourcePath)) + "." + extension;
        frame.Progress().NextFile(StatusOf(row, source, host.Strings()));
        if (SetRequestPath(request.szSourceFile, source) && SetRequestPath(request.szOutputFile, output)) {
            const std::string reason = RunWatched(host, frame.Progress(),
                                                  cdTrack ? Export::Convert_CD_TO_MP3 : Export::Convert_Wav_TO_MP3, request);
            if (host.State().CancelRequested()) break;
            frame.Outcome().Check(row.sourcePath, output, reason);
        }
        host.UncheckRow(index);
    }
    if (host.State().CancelRequested()) frame.Outcome().Cancelled();
}

}  // namespace velmora::front
