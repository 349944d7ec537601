#include "ToolRunner.h"

#include "paths/ToolLocator.h"

namespace MediaLibrary {

std::filesystem::path GetToolPath(std::string_view tool)
{
    return velmora::platform::FindTool(tool);
}

}  // namespace MediaLibrary
