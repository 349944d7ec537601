#include "DvdAuthoringJob.h"

#include "AuthoringText.h"
#include "FailureCount.h"
#include "JobPaths.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "core/LumetraBinding.h"
#include "core/UiStrings.h"
#include "core/ControlIds.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

using MediaLibrary::Header::MEDIACONVERSIONINFO;

namespace velmora::front {
namespace {

constexpr const char* kWorkFolderName = "06759715-1134-4d2b-B902-58192E53501F";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

void WriteAuthoringFile(const std::string& path, const std::string& text)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "w"));
    if (!file) {
        LogMessage(1, "Cannot write the authoring file %s", path.c_str());
        return;
    }
    std::fwrite(text.data(), 1, text.size(), file.get());
}

}  // namespace

void RunDvdAuthoringJob(JobHost& host, const JobInput& input)
{
    if (input.rows.empty()) return;
    const std::string folder = host.ChooseOutputFolder();
    if (folder.empty()) return;

    SharedState& state = host.State();
    state.SetBusy(true);
    host.EnableControls(true);
    MEDIACONVERSIONINFO request;
    host.CollectSettings(request, nullptr);
    host.ShowProgress(static_cast<int>(input.rows.size()), 0);

    const std::string workFolder = folder + "/" + kWorkFolderName;
    const bool onlyVobs = input.formatRadio == control::kFirstOptionRadio;
    AuthoringText authoring(folder);
    if (!onlyVobs) {
        std::error_code error;
        std::filesystem::create_directories(workFolder, error);
        if (error) LogMessage(1, "Cannot create the work folder %s: %s", workFolder.c_str(), error.message().c_str());
    }

    FailureCount failures(host);
    for (const ConvertRow& row : input.rows) {
        host.StepProgress();
        const std::string& source = row.cells[2];
        host.SetStatusText(host.Strings()[kRowConverting] + " - " + QString::fromStdString(source) + "....");
        const std::string output = (onlyVobs ? folder : workFolder) + "/" + FileTitle(source) + (onlyVobs ? ".vob" : ".mpg");
        if (!SetRequestPath(request.szSourceFile, source) || !SetRequestPath(request.szOutputFile, output)) continue;
        Lumetra().Converter(onlyVobs ? Export::Convert_Video_TO_VOB : Export::Convert_Video_TO_DVD)(request);
        if (failures.Check(source, output) && !onlyVobs) authoring.AddVob(output);
    }

    if (!onlyVobs) {
        const std::string authoringFile = workFolder + "/velmora_convert.xml";
        WriteAuthoringFile(authoringFile, authoring.Close());
        host.SetStatusText(host.Strings()[kRowGenerating]);
        Lumetra().GenerateDVDFiles()(authoringFile.c_str());
        CleanUpFolder(workFolder);
        failures.Check(folder, folder + "/VIDEO_TS/VIDEO_TS.IFO");
    }

    host.EndProgress();
    failures.Report();
    state.SetBusy(false);
    host.EnableControls(false);
    if (input.formatRadio == control::kThirdOptionRadio) {
        state.TakePendingOutputs();
        state.AddPendingOutput(folder + "/VIDEO_TS");
        state.AddPendingOutput(folder + "/AUDIO_TS");
        host.PostCommand(command::kBurnPendingOutputs);
    }
}

}  // namespace velmora::front
