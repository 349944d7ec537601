#include "JobPaths.h"

#include "RecordText.h"
#include "log/Log.h"

#include <filesystem>
#include <system_error>

namespace velmora::front {

std::string SetRequestPaths(MediaLibrary::Header::MEDIACONVERSIONINFO& request, std::string_view source,
                            std::string_view output)
{
    const std::string limit = " is longer than the " + std::to_string(sizeof request.szSourceFile - 1) +
                              " bytes the converter takes";
    if (!MediaLibrary::SetFieldText(request.szSourceFile, source)) return "its path" + limit;
    if (!MediaLibrary::SetFieldText(request.szOutputFile, output)) return "the path of its output" + limit;
    return {};
}

void CleanUpFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace velmora::front
