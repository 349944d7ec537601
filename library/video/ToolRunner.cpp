#include "ToolRunner.h"

#include "log/Log.h"
#include "paths/ToolLocator.h"
#include "temp/TempFolder.h"

namespace MediaLibrary {

std::filesystem::path GetToolPath(std::string_view tool)
{
    return velmora::platform::FindTool(tool);
}

std::filesystem::path TempFilePath(std::string_view name)
{
    const auto folder = velmora::platform::PrivateTempFolder();
    if (!folder.notice.empty()) LogMessage(1, "%s", folder.notice.c_str());
    if (folder.path.empty()) return {};
    return folder.path / name;
}

}  // namespace MediaLibrary
