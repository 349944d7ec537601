#include "ToolLocator.h"

#include "ExecutablePath.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace velmora::platform {
namespace {

bool IsRunnable(const std::filesystem::path& candidate)
{
    std::error_code error;
    return std::filesystem::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0;
}

}  // namespace

std::filesystem::path FindTool(std::string_view name)
{
    if (name.empty() || name.find('/') != std::string_view::npos) return {};
    if (const auto beside = ExecutableFolder() / name; IsRunnable(beside)) return beside;

    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "";
    while (!folders.empty()) {
        const auto colon = folders.find(':');
        const auto folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? std::string_view{} : folders.substr(colon + 1);
        if (folder.empty() || folder.front() != '/') continue;  // a relative entry would depend on the current folder
        if (const auto candidate = std::filesystem::path(folder) / name; IsRunnable(candidate)) return candidate;
    }
    return {};
}

}  // namespace velmora::platform
