#include "RequestPaths.h"

#include "Failure.h"
#include "log/Log.h"
#include "RecordText.h"

#include <filesystem>

namespace MediaLibrary {

bool RequestPathsUsable(const Header::MEDIACONVERSIONINFO& request, const char* exportName)
{
    const auto source = FieldText(request.szSourceFile);
    const auto output = FieldText(request.szOutputFile);
    LogMessage(4, "Checking the paths of %s", exportName);
    if (!source || !output)
        return Refuse("a path of the request is longer than " + std::to_string(Header::kPathCapacity - 1) + " bytes",
                      false);
    if (output->empty()) return Refuse("the request names no output file", false);
    std::error_code error;
    if (std::filesystem::equivalent(*source, *output, error))
        return Refuse("the output " + std::string(*output) + " is the source itself", false);
    if (std::filesystem::is_directory(*output, error))
        return Refuse("the output " + std::string(*output) + " is a folder", false);
    return true;
}

}  // namespace MediaLibrary
