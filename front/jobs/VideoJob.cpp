#include "VideoJob.h"

#include "JobFrame.h"
#include "JobPaths.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "core/LumetraBinding.h"
#include "temp/TempFolder.h"
#include "core/UiStrings.h"
#include "VideoFormats.h"
#include "core/ControlIds.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <future>
#include <optional>
#include <system_error>

using MediaLibrary::Header::MEDIACONVERSIONINFO;

namespace velmora::front {
namespace {


struct FileNames {
    std::string output;
    std::string previewCopy;
};

FileNames NamesFor(const VideoFormat& format, const std::string& folder, const std::string& input)
{
    const std::string stem = folder + "/" + std::string(platform::TitlePart(input));
    return {stem + "." + std::string(format.extension), stem + "_tmp." + std::string(format.extension)};
}

// Where the conversion has got, less ten seconds: the size written so far over the bit rate.
// Nothing when no bit rate is known.
std::optional<std::int64_t> PreviewPosition(std::int64_t bytes, const MEDIACONVERSIONINFO& request)
{
    const std::int64_t kilobitsPerSecond = std::int64_t{request.nAudioBitRate} + request.nVideoBitRate;
    if (kilobitsPerSecond == 0) return std::nullopt;
    return bytes * 8 / kilobitsPerSecond / 1000 - 10;
}

void PreviewStep(JobHost& host, const MEDIACONVERSIONINFO& request, const FileNames& names, const std::string& folder)
{
    std::error_code error;
    std::filesystem::remove(names.previewCopy, error);
    std::filesystem::copy_file(names.output, names.previewCopy, std::filesystem::copy_options::overwrite_existing,
                               error);
    const auto size = std::filesystem::file_size(names.previewCopy, error);
    const std::int64_t bytes = error ? 0 : static_cast<std::int64_t>(size);
    const auto position = PreviewPosition(bytes, request);
    if (!position) {
        LogMessage(3, "No bit rate known for %s; no preview this time", request.szSourceFile);
        return;
    }
    char positionText[24];
    std::snprintf(positionText, sizeof positionText, "%" PRId64, *position);
    const std::string picture = folder + "/last_frame.png";
    Lumetra().GeTThumbNailForVideoFile()(positionText, request.szSourceFile,
                                                                        picture.c_str());
    host.ShowPreview(picture);
}

// The conversion runs on its own thread; between slices of the poll interval the job shows
// the preview. The thread is joined before the request changes again.
void ConvertOneFile(JobHost& host, const MEDIACONVERSIONINFO& request, const VideoFormat& format,
                    const FileNames& names, const std::string& folder)
{
    const auto convert = Lumetra().Converter(format.conversion);
    auto conversion = std::async(std::launch::async, [convert, copy = request] { convert(copy); });
    while (conversion.wait_for(host.State().PollInterval()) == std::future_status::timeout)
        PreviewStep(host, request, names, folder);
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
        for (const ConvertRow& row : input.rows) {
            host.StepProgress();
            host.SetStatusText(host.Strings()[kRowConverting] + " - " + QString::fromStdString(row.sourcePath) + "....");
            if (!format || !SetRequestPath(request.szSourceFile, row.sourcePath)) continue;
            const FileNames names = NamesFor(*format, folder, row.sourcePath);
            if (!SetRequestPath(request.szOutputFile, names.output)) continue;
            ConvertOneFile(host, request, *format, names, folder);
            frame.Failures().Check(row.sourcePath, names.output);
            if (input.join || input.burn) host.State().AddPendingOutput(names.output);
            host.HidePreview();
        }
        if (input.join) Join(host, request, folder, savedPath, input.burn, frame.Failures());
    }
    if (input.burn) host.PostCommand(command::kBurnPendingOutputs);
}

}  // namespace velmora::front
