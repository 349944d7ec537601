#include "JobPaths.h"

#include "log/Log.h"

#include <filesystem>
#include <system_error>

namespace velmora::front {

void CleanUpFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace velmora::front
