#include "Thumbnail.h"

#include "ToolRunner.h"
#include "interface/Failure.h"
#include "log/Log.h"
#include "RecordText.h"
#include "Video.h"

namespace MediaLibrary::Video {
namespace {

// The encoder takes a negative start time and returns a garbage frame for it.
std::string_view StartPosition(std::string_view position)
{
    const auto first = position.find_first_not_of(" \t");
    if (first != std::string_view::npos && position[first] == '-') return "0";
    return position;
}

}  // namespace

CommandLine ThumbnailCommand(std::string_view position, std::string_view video, std::string_view picture,
                             int width, int height)
{
    CommandLine command;
    command.Add("-ss").Add(position).Add("-i").AddQuoted(video);
    command.Add("-vcodec").Add("png").Add("-vframes").Add("1").Add("-an").Add("-f").Add("rawvideo");
    command.Add("-s").Add(std::to_string(width) + "x" + std::to_string(height));
    command.AddQuoted(picture);
    return command;
}

void TakeThumbnail(std::string_view position, std::string_view video, const std::filesystem::path& picture)
{
    std::error_code ignored;
    if (std::filesystem::equivalent(picture, video, ignored)) {
        Fail("the picture " + picture.string() + " is the video itself");
        return;
    }
    Header::MEDIACONVERSIONINFO request;
    if (!SetFieldText(request.szSourceFile, video)) {
        Fail("the video's path is longer than " + std::to_string(Header::kPathCapacity - 1) + " bytes");
        return;
    }
    CAVI converter(request);
    Header::MEDIACONVERSIONINFO facts;
    if (!converter.ProbeFacts(facts)) return;
    const int width = facts.nWidth / 2;
    const int height = facts.nHeight / 2;
    if (width <= 0 || height <= 0) {
        Fail(std::string(video) + " shows no picture");
        return;
    }
    velmora::platform::SpawnOptions options;
    options.timeout = CMediaLibrary::kQuickToolLimit;
    const auto start = StartPosition(position);
    // A position past the end gives no frame: the encoder writes nothing, and nothing is kept.
    if (!converter.EncodeInto(ThumbnailCommand(start, video, picture.string(), width, height), picture, options,
                              CMediaLibrary::Watch::Quietly) &&
        LastFailure().starts_with(std::string(kEncoderTool) + " wrote nothing"))
        Fail("there is no picture at " + std::string(start) + " in " + std::string(video));
}

}  // namespace MediaLibrary::Video
