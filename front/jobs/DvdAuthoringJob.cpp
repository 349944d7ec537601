#include "DvdAuthoringJob.h"

#include "AuthoringText.h"
#include "JobFrame.h"
#include "JobPaths.h"
#include "WatchedConversion.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "core/LumetraBinding.h"
#include "core/UiStrings.h"
#include "core/ControlIds.h"
#include "text/XmlText.h"

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

// Converts a row into the folder; true when the output is there.
bool ConvertRowTo(JobHost& host, const ConvertRow& row, const std::string& folder, Export conversion,
                  const char* extension, MEDIACONVERSIONINFO& request, JobFrame& frame)
{
    if (host.State().CancelRequested()) return false;
    frame.Progress().NextFile(host.Strings()[kRowConverting] + " - " + QString::fromStdString(row.sourcePath) + "....");
    const std::string output = folder + "/" + std::string(platform::TitlePart(row.sourcePath)) + extension;
    std::string reason = SetRequestPaths(request, row.sourcePath, output);
    if (reason.empty()) reason = RunWatched(host, frame.Progress(), conversion, request);
    if (host.State().CancelRequested()) return false;
    return frame.Outcome().Check(row.sourcePath, output, reason);
}

// "Only VOB files": each file as a VOB in the output folder.
void ConvertToVobs(JobHost& host, const std::vector<ConvertRow>& rows, const std::string& folder,
                   MEDIACONVERSIONINFO& request, JobFrame& frame)
{
    for (const ConvertRow& row : rows) ConvertRowTo(host, row, folder, Export::Convert_Video_TO_VOB, ".vob", request, frame);
}

// The files as DVD MPEGs in a work folder, authored into VIDEO_TS and AUDIO_TS of the output
// folder; true when the two were made.
bool AuthorDvd(JobHost& host, const std::vector<ConvertRow>& rows, const std::string& folder,
               MEDIACONVERSIONINFO& request, JobFrame& frame)
{
    if (const auto why = platform::WhyNotXmlText(folder)) {
        frame.Outcome().StepFailed(kRowNoDvdFiles, "the folder's name cannot be written for dvdauthor: " + *why);
        return false;
    }
    const std::string workFolder = folder + "/" + kWorkFolderName;
    std::error_code error;
    std::filesystem::create_directories(workFolder, error);
    if (error) LogMessage(1, "Cannot create the work folder %s: %s", workFolder.c_str(), error.message().c_str());

    AuthoringText authoring(folder);
    for (const ConvertRow& row : rows) {
        const std::string title(platform::TitlePart(row.sourcePath));
        if (const auto why = platform::WhyNotXmlText(title))
            frame.Outcome().Check(row.sourcePath, {}, "its name cannot be written for dvdauthor: " + *why);
        else if (ConvertRowTo(host, row, workFolder, Export::Convert_Video_TO_DVD, ".mpg", request, frame))
            authoring.AddVob(workFolder + "/" + title + ".mpg");
    }

    if (host.State().CancelRequested()) {
        CleanUpFolder(workFolder);
        return false;
    }
    const std::string authoringFile = workFolder + "/velmora_convert.xml";
    WriteAuthoringFile(authoringFile, authoring.Close());
    host.SetStatusText(host.Strings()[kRowGenerating]);
    Lumetra().GenerateDVDFiles()(authoringFile.c_str());
    const std::string reason = LastLibraryFailure();
    CleanUpFolder(workFolder);
    // A failed authoring leaves an earlier disc in the folder: the library's verdict decides.
    std::error_code missing;
    if (reason.empty() && std::filesystem::is_regular_file(folder + "/VIDEO_TS/VIDEO_TS.IFO", missing)) return true;
    frame.Outcome().StepFailed(kRowNoDvdFiles, reason);
    return false;
}

}  // namespace

void RunDvdAuthoringJob(JobHost& host, const JobInput& input)
{
    if (input.rows.empty()) return;
    const std::string folder = host.ChooseOutputFolder();
    if (folder.empty()) return;
    bool discMade = false;
    {
        JobFrame frame(host, PlayLengthsOf(input.rows));
        frame.Outcome().SetDestination(folder);
        MEDIACONVERSIONINFO request;
        host.CollectSettings(request, nullptr);
        if (input.formatRadio == control::kFirstOptionRadio) ConvertToVobs(host, input.rows, folder, request, frame);
        else discMade = AuthorDvd(host, input.rows, folder, request, frame);
        if (host.State().CancelRequested()) {
            frame.Outcome().Cancelled();
            return;
        }
    }
    if (input.formatRadio == control::kThirdOptionRadio && discMade) {
        SharedState& state = host.State();
        state.TakePendingOutputs();
        state.AddPendingOutput(folder + "/VIDEO_TS");
        state.AddPendingOutput(folder + "/AUDIO_TS");
        host.PostCommand(command::kBurnPendingOutputs);
    }
}

}  // namespace velmora::front
