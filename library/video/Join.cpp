#include "Join.h"

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
    // The output is deleted first; it must not be one of the files to join.
    if (OutputIsAnInput(request.szOutputFile, paths)) {
        LogMessage(1, "The join's output %s is one of the files to join; nothing joined", request.szOutputFile);
        return 0;
    }
    CAVI converter(request);
    std::error_code ignored;
    std::filesystem::remove(request.szOutputFile, ignored);
    if (paths.empty()) {
        // The source field names the joined file to be: converting (and then deleting) whatever
        // already has that name would destroy someone's file.
        LogMessage(2, "No files to join into %s; nothing converted", request.szOutputFile);
        return 0;
    }
    const auto joined = converter.WriteJoinScript(paths);
    if (joined.empty()) return 0;
    const int result = converter.Convert();
    std::filesystem::remove(joined, ignored);
    return result;
}

}  // namespace MediaLibrary::Video
