#include "Join.h"

#include "interface/Failure.h"
#include "log/Log.h"
#include "Video.h"

#include <filesystem>

namespace MediaLibrary::Video {
namespace {

bool OutputIsAnInput(const std::filesystem::path& output, const std::vector<std::string>& paths)
{
    std::error_code error;
    for (const auto& path : paths)
        if (std::filesystem::equivalent(path, output, error)) return true;
    return false;
}

}  // namespace

int JoinAndConvert(const Header::MEDIACONVERSIONINFO& request, const std::vector<std::string>& paths)
{
    if (OutputIsAnInput(request.szOutputFile, paths))
        return Refuse("the output " + std::string(request.szOutputFile) + " is one of the files to join", 0);
    CAVI converter(request);
    std::error_code ignored;
    // The source field names the joined file to be: converting (and then deleting) whatever
    // already has that name would destroy someone's file.
    if (paths.empty()) return Refuse("there are no files to join into " + std::string(request.szOutputFile), 0);
    const auto joined = converter.WriteJoinScript(paths);
    if (joined.empty()) return 0;
    const int result = converter.Convert();
    std::filesystem::remove(joined, ignored);
    return result;
}

}  // namespace MediaLibrary::Video
