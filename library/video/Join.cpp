#include "Join.h"

#include "RecordText.h"
#include "Video.h"
#include "interface/Failure.h"
#include "log/Log.h"

#include <cstdio>
#include <filesystem>
#include <optional>

namespace MediaLibrary::Video {
namespace {

bool OutputIsAnInput(const std::filesystem::path& output, const std::vector<std::string>& paths)
{
    std::error_code error;
    for (const auto& path : paths)
        if (std::filesystem::equivalent(path, output, error)) return true;
    return false;
}

// What the encoder says of one clip.
struct Clip {
    ReportFacts facts;
    double seconds = 0;
};

double Seconds(const std::optional<std::string>& duration)
{
    int hours = 0, minutes = 0;
    double seconds = 0;
    if (!duration || std::sscanf(duration->c_str(), " %d:%d:%lf", &hours, &minutes, &seconds) != 3) return 0;
    return hours * 3600.0 + minutes * 60.0 + seconds;
}

std::optional<Clip> Describe(const std::string& path)
{
    Header::MEDIACONVERSIONINFO request;
    if (!SetFieldText(request.szSourceFile, path)) return Refuse("the path " + path + " is too long", std::nullopt);
    CAVI converter(request);
    Header::MEDIACONVERSIONINFO info;
    char length[CMediaLibrary::kPlayLengthLimit + 1] = "";
    if (!converter.ReadMediaFacts(info, length)) return std::nullopt;
    Clip clip;
    clip.facts.width = info.nWidth;
    clip.facts.height = info.nHeight;
    clip.facts.frameRate = info.nFrameRate;
    clip.facts.sampleRate = info.nSampleRate;
    clip.seconds = Seconds(std::string(length));
    if (clip.facts.width <= 0 || clip.facts.height <= 0) return Refuse(path + " has no picture to join", std::nullopt);
    return clip;
}

// The form every clip is brought to before the join: the request's figures, else the first clip's.
struct Form {
    int width, height, frameRate, sampleRate;
};

// Each clip scaled into the frame (bars where its shape differs), at one rate, with a stereo
// sound track (silence for a clip without one), then all of them in order.
std::string JoinGraph(const std::vector<Clip>& clips, const Form& form)
{
    std::string graph, joined;
    char part[512];
    for (std::size_t at = 0; at < clips.size(); ++at) {
        std::snprintf(part, sizeof part,
                      "[%zu:v]scale=%d:%d:force_original_aspect_ratio=decrease,pad=%d:%d:(ow-iw)/2:(oh-ih)/2,"
                      "setsar=1,fps=%d,format=yuv420p[v%zu];",
                      at, form.width, form.height, form.width, form.height, form.frameRate, at);
        graph += part;
        if (clips[at].facts.sampleRate > 0)
            std::snprintf(part, sizeof part, "[%zu:a]aresample=%d,aformat=channel_layouts=stereo[a%zu];", at,
                          form.sampleRate, at);
        else
            std::snprintf(part, sizeof part, "anullsrc=r=%d:cl=stereo,atrim=duration=%.3f[a%zu];", form.sampleRate,
                          clips[at].seconds, at);
        graph += part;
        joined += "[v" + std::to_string(at) + "][a" + std::to_string(at) + "]";
    }
    return graph + joined + "concat=n=" + std::to_string(clips.size()) + ":v=1:a=1[video][audio]";
}

}  // namespace

int JoinAndConvert(const Header::MEDIACONVERSIONINFO& request, const std::vector<std::string>& paths)
{
    if (OutputIsAnInput(request.szOutputFile, paths))
        return Refuse("the output " + std::string(request.szOutputFile) + " is one of the files to join", 0);
    if (paths.empty()) return Refuse("there are no files to join into " + std::string(request.szOutputFile), 0);
    std::vector<Clip> clips;
    for (const auto& path : paths) {
        auto clip = Describe(path);
        if (!clip) return 0;
        clips.push_back(*clip);
    }
    const auto& first = clips.front().facts;
    const Form form{request.nWidth > 0 && request.nHeight > 0 ? request.nWidth : first.width,
                    request.nWidth > 0 && request.nHeight > 0 ? request.nHeight : first.height,
                    request.nFrameRate > 0 ? request.nFrameRate : (first.frameRate > 0 ? first.frameRate : 25),
                    request.nSampleRate > 0 ? request.nSampleRate : 44100};

    CommandLine command;
    for (const auto& path : paths) command.Add("-i").AddQuoted(path);
    command.Add("-filter_complex").Add(JoinGraph(clips, form)).Add("-map").Add("[video]").Add("-map").Add("[audio]");
    CAVI converter(request);
    const CommandLine conversion =
        request.nOutputFormat == Header::kFormatDvd ? converter.GetDvdCommand() : converter.GetVideoCommand();
    // The conversion's own words after its input: quality, target, output.
    for (std::size_t at = 2; at < conversion.Arguments().size(); ++at) {
        const std::string& word = conversion.Arguments()[at];
        if (word == request.szOutputFile) command.AddQuoted(word);
        else command.Add(word);
    }
    LogMessage(4, "Joining %zu files into %s", paths.size(), request.szOutputFile);
    converter.EncodeInto(command, request.szOutputFile);
    return 0;
}

}  // namespace MediaLibrary::Video
