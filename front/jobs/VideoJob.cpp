#include "VideoJob.h"

#include "JobFrame.h"
#include "JobOutcome.h"
#include "JobPaths.h"
#include "log/Log.h"
#include "Lumetra.h"
#include "core/LumetraBinding.h"
#include "temp/ScopedTempFolder.h"
#include "temp/TempFolder.h"
#include "core/UiStrings.h"
#include "VideoFormats.h"
#include "WatchedConversion.h"
#include "core/ControlIds.h"

#include <cstdio>
#include <filesystem>
#include <optional>
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

// The joined file: the name the user chose, given the outputs' extension unless it has it already.
std::string JoinedPath(const std::string& chosen, const std::string& extension)
{
    return platform::LowerExtension(chosen) == platform::LowerExtension("x" + extension) ? chosen : chosen + extension;
}

// The joined file, or none when the join failed.
std::optional<std::string> Join(JobHost& host, MEDIACONVERSIONINFO& request, const std::vector<std::string>& outputs,
                                const std::string& chosen, JobOutcome& outcome)
{
    host.SetStatusText(host.Strings()[kRowJoining]);
    const std::string result = JoinedPath(chosen, std::string(platform::ExtensionPart(outputs.back())));
    std::string reason = SetRequestPaths(request, "", result);
    if (reason.empty()) {
        std::vector<const char*> paths;
        for (const std::string& output : outputs) paths.push_back(output.c_str());
        Lumetra().Convert_Join_To_Single()(request, paths.data(), static_cast<unsigned>(paths.size()));
        reason = LastLibraryFailure();
    }
    if (!outcome.Joined(result, reason)) return std::nullopt;
    return result;
}

}  // namespace

void RunVideoJob(JobHost& host, const JobInput& input)
{
    MEDIACONVERSIONINFO request;
    MEDIACONVERSIONINFO defaults;
    if (input.rows.empty()) return;

    std::string folder;
    std::string chosen;
    // A join converts into a work folder of its own, gone with the job.
    std::optional<platform::ScopedTempFolder> joinFolder;
    if (input.join) {
        chosen = host.ChooseJoinedFile();
        if (chosen.empty()) return;
        joinFolder.emplace("join");
        folder = joinFolder->Path().string();
        if (SetRequestPaths(defaults, input.rows.front().sourcePath, "").empty()) Lumetra().GetDefaultPara()(&defaults);
    } else {
        folder = host.ChooseOutputFolder();
        if (folder.empty()) return;
    }

    std::vector<std::string> outputs;
    {
        JobFrame frame(host, PlayLengthsOf(input.rows));
        JobOutcome& outcome = frame.Outcome();
        outcome.SetDestination(folder);
        host.CollectSettings(request, &defaults);
        const VideoFormat* format = FindVideoFormat(input.formatRadio);
        // The preview's pictures are the job's own, and go with it.
        const platform::ScopedTempFolder previews("preview");
        const auto picture = previews.Path() / "last_frame.png";
        for (const ConvertRow& row : input.rows) {
            if (host.State().CancelRequested()) break;
            frame.Progress().NextFile(host.Strings()[kRowConverting] + " - " + QString::fromStdString(row.sourcePath) + "....");
            if (!format) continue;
            const std::string output = OutputFor(*format, folder, row.sourcePath);
            std::string reason = SetRequestPaths(request, row.sourcePath, output);
            if (reason.empty()) {
                reason = RunWatched(host, frame.Progress(), format->conversion, request,
                                    [&] { PreviewStep(host, request, picture); });
                host.HidePreview();
            }
            if (host.State().CancelRequested()) break;
            if (outcome.Check(row.sourcePath, output, reason)) outputs.push_back(output);
        }
        if (host.State().CancelRequested()) {
            outcome.Cancelled();
            return;
        }
        if (input.join && !outputs.empty()) {
            const auto joined = Join(host, request, outputs, chosen, outcome);
            outputs.clear();
            if (joined) outputs.push_back(*joined);
        }
    }
    // Nothing made, nothing to burn: the burn list may hold the user's own entries.
    if (!input.burn || outputs.empty()) return;
    for (const std::string& output : outputs) host.State().AddPendingOutput(output);
    host.PostCommand(command::kBurnPendingOutputs);
}

}  // namespace velmora::front
