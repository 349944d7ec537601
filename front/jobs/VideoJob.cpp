#include "VideoJob.h"

#include "JobFrame.h"
#include "JobPaths.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "core/LumetraBinding.h"
#include "temp/ScopedTempFolder.h"
#include "temp/TempFolder.h"
#include "core/UiStrings.h"
#include "VideoFormats.h"
#include "core/ControlIds.h"

#include <cstdio>
#include <filesystem>
#include <future>
#include <system_error>

using MediaLibrary::Header::MEDIACONVERSIONINFO;

namespace velmora::front {
namespace {


std::string OutputFor(const VideoFormat& format, const std::string& folder, const std::string& input)
{
    return folder + "/" + std::string(platform::TitlePart(input)) + "." + std::string(format.extension);
}

// The frame of the source where the conversion has got, as the encoder reports it.
void PreviewStep(JobHost& host, const MEDIACONVERSIONINFO& request, const std::filesystem::path& picture)
{
    const auto encoded = Lumetra().GetEncodedSeconds();
    const double position = encoded ? encoded() : 0;
    if (position <= 0) {
        LogMessage(3, "%s: nothing encoded yet; no preview this time", request.szSourceFile);
        return;
    }
    char positionText[32];
    std::snprintf(positionText, sizeof positionText, "%.2f", position);
    Lumetra().GeTThumbNailForVideoFile()(positionText, request.szSourceFile, picture.c_str());
    host.ShowPreview(picture.string());
}

// The conversion runs on its own thread; between slices of the poll interval the job shows
// the preview. The thread is joined before the request changes again.
void ConvertOneFile(JobHost& host, const MEDIACONVERSIONINFO& request, const VideoFormat& format,
                    const std::filesystem::path& picture)
{
    const auto convert = Lumetra().Converter(format.conversion);
    auto conversion = std::async(std::launch::async, [convert, copy = request] { convert(copy); });
    while (conversion.wait_for(host.State().PollInterval()) == std::future_status::timeout)
        PreviewStep(host, request, picture);
    conversion.get();
}

void Join(JobHost& host, MEDIACONVERSIONINFO& request, const std::string& workFolder, const std::string& savedPath,
          bool burn, FailureCount& failures)
{
    host.SetStatusText(host.Strings()[kRowJoining]);
    std::vector<std::string> outputs = host.State().TakePendingOutputs();
    const std::string extension = outputs.empty() ? std::string() : std::string(platform::ExtensionPart(outputs.back()));
    const std::string result = savedPath + extension;
    if (SetRequestPath(request.szSourceFile, workFolder + "/join_Intermediate" + extension) &&
        SetRequestPath(request.szOutputFile, result)) {
        std::vector<const char*> paths;
        for (const std::string& output : outputs) paths.push_back(output.c_str());
        Lumetra().Convert_Join_To_Single()(request, paths.data(),
                                                                   static_cast<unsigned>(paths.size()));
    }
    std::error_code ignored;
    for (const std::string& output : outputs) std::filesystem::remove(output, ignored);
    failures.Check(savedPath, result);
    if (burn) host.State().AddPendingOutput(result);
}

// The private folder's work folder of a join, emptied.
std::string PrepareJoinFolder()
{
    const std::string folder = platform::PrivateTempFolder().path.string() + "/Temp_ConvertedFile";
    CleanUpFolder(folder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) LogMessage(1, "Cannot create the join work folder %s: %s", folder.c_str(), error.message().c_str());
    return folder;
}

}  // namespace

void RunVideoJob(JobHost& host, const JobInput& input)
{
    MEDIACONVERSIONINFO request;
    MEDIACONVERSIONINFO defaults;
    if (input.rows.empty()) return;

    std::string folder;
    std::string savedPath;
    if (input.join) {
        savedPath = host.ChooseJoinedFile();
        if (savedPath.empty()) return;
        folder = PrepareJoinFolder();
        if (SetRequestPath(defaults.szSourceFile, input.rows.front().sourcePath)) Lumetra().GetDefaultPara()(&defaults);
    } else {
        folder = host.ChooseOutputFolder();
        if (folder.empty()) return;
    }

    {
        JobFrame frame(host, static_cast<int>(input.rows.size()));
        host.CollectSettings(request, &defaults);
        const VideoFormat* format = FindVideoFormat(input.formatRadio);
        // The preview's pictures are the job's own, and go with it.
        const platform::ScopedTempFolder previews("preview");
        const auto picture = previews.Path() / "last_frame.png";
        for (const ConvertRow& row : input.rows) {
            host.StepProgress();
            host.SetStatusText(host.Strings()[kRowConverting] + " - " + QString::fromStdString(row.sourcePath) + "....");
            if (!format || !SetRequestPath(request.szSourceFile, row.sourcePath)) continue;
            const std::string output = OutputFor(*format, folder, row.sourcePath);
            if (!SetRequestPath(request.szOutputFile, output)) continue;
            ConvertOneFile(host, request, *format, picture);
            frame.Failures().Check(row.sourcePath, output);
            if (input.join || input.burn) host.State().AddPendingOutput(output);
            host.HidePreview();
        }
        if (input.join) Join(host, request, folder, savedPath, input.burn, frame.Failures());
    }
    if (input.burn) host.PostCommand(command::kBurnPendingOutputs);
}

}  // namespace velmora::front
