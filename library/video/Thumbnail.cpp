#include "Thumbnail.h"

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

void RemoveIfEmpty(const std::filesystem::path& picture, std::string_view position, std::string_view video)
{
    std::error_code error;
    if (!std::filesystem::exists(picture, error) || std::filesystem::file_size(picture, error) != 0 || error) return;
    std::filesystem::remove(picture, error);
    LogMessage(2, "No frame at %.*s in %.*s; the empty picture was removed", static_cast<int>(position.size()),
               position.data(), static_cast<int>(video.size()), video.data());
}

}  // namespace

CommandLine ThumbnailCommand(std::string_view position, std::string_view video, std::string_view picture,
                             int width, int height)
{
    CommandLine command;
    command.Add("-y").Add("-ss").Add(position).Add("-i").AddQuoted(video);
    command.Add("-vcodec").Add("png").Add("-vframes").Add("1").Add("-an").Add("-f").Add("rawvideo");
    command.Add("-s").Add(std::to_string(width) + "x" + std::to_string(height));
    command.AddQuoted(picture);
    return command;
}

void TakeThumbnail(std::string_view position, std::string_view video, const std::filesystem::path& picture)
{
    std::error_code ignored;
    // The picture is deleted first; it must not be the video itself.
    if (std::filesystem::equivalent(picture, video, ignored)) {
        LogMessage(1, "GeTThumbNailForVideoFile: the picture %s is the video itself; no picture", picture.c_str());
        return;
    }
    std::filesystem::remove(picture, ignored);

    Header::MEDIACONVERSIONINFO request;
    if (!SetFieldText(request.szSourceFile, video)) {
        LogMessage(1, "GeTThumbNailForVideoFile: the video path is longer than %zu bytes; no picture",
                   Header::kPathCapacity - 1);
        return;
    }
    CAVI converter(request);
    Header::MEDIACONVERSIONINFO facts;
    converter.Probe(&facts);
    const int width = facts.nWidth / 2;
    const int height = facts.nHeight / 2;
    if (width <= 0 || height <= 0) {
        LogMessage(2, "%s shows no picture of a usable size; no thumbnail taken", request.szSourceFile);
        return;
    }
    const auto start = StartPosition(position);
    converter.RunCommand(ThumbnailCommand(start, video, picture.string(), width, height), true);
    RemoveIfEmpty(picture, start, video);
}

}  // namespace MediaLibrary::Video
