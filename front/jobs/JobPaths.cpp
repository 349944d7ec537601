#include "JobPaths.h"

#include "log/Log.h"

#include <filesystem>
#include <system_error>

namespace velmora::front {

std::string FileNamePart(std::string_view path)
{
    // A drive path ("D:\Track03.cda") separates its parts with backslashes.
    const bool drivePath = path.size() >= 2 && path[1] == ':';
    const auto slash = path.find_last_of(drivePath ? "/\\" : "/");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FileTitle(std::string_view path)
{
    std::string name = FileNamePart(path);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

std::string Extension(std::string_view path)
{
    const std::string name = FileNamePart(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

void CleanUpFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace velmora::front
