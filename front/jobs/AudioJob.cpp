#include "AudioJob.h"

#include "FailureCount.h"
#include "JobPaths.h"
#include "Lumetra.h"
#include "core/LumetraBinding.h"
#include "core/UiStrings.h"

#include <QString>

namespace velmora::front {
namespace {


}  // namespace

void RunAudioJob(JobHost& host, const JobInput& input)
{
    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    if (input.rows.empty()) return;

    SharedState& state = host.State();
    state.SetBusy(true);
    host.EnableControls(true);
    host.CollectSettings(request, nullptr);
    const std::string extension = request.nOutputFormat == MediaLibrary::Header::kFormatWav ? "wav" : "mp3";

    const std::string folder = host.ChooseOutputFolder();
    if (folder.empty()) {
        state.SetBusy(false);
        host.EnableControls(false);
        return;
    }
    const std::string drive = input.driveText.substr(0, 2);
    host.ShowProgress(static_cast<int>(input.rows.size()), 0);

    FailureCount failures(host);
    const UiStrings& strings = host.Strings();
    for (int index = 0; index < static_cast<int>(input.rows.size()); ++index) {
        const ConvertRow& row = input.rows[static_cast<std::size_t>(index)];
        host.StepProgress();
        if (!row.checked) continue;
        const bool cdTrack = QString::fromStdString(row.cells[5]).compare("cda", Qt::CaseInsensitive) == 0;
        const std::string source = cdTrack ? drive + row.cells[0] : row.cells[6];
        const std::string output = folder + "/" + FileTitle(row.cells[6]) + "." + extension;
        if (cdTrack)
            host.SetStatusText(strings[kRowConverting] + " " + strings[kRowTrack] + " - " +
                               QString::fromStdString(row.cells[0]) + "....");
        else
            host.SetStatusText(strings[kRowConverting] + " - " + QString::fromStdString(source) + "....");
        if (SetRequestPath(request.szSourceFile, source) && SetRequestPath(request.szOutputFile, output)) {
            Lumetra().Converter(cdTrack ? Export::Convert_CD_TO_MP3 : Export::Convert_Wav_TO_MP3)(request);
            failures.Check(cdTrack ? row.cells[6] : source, output);
        }
        host.UncheckRow(index);
    }

    host.EndProgress();
    failures.Report();
    state.SetBusy(false);
    host.EnableControls(false);
}

}  // namespace velmora::front
