#include "RequestPaths.h"

#include "log/Log.h"
#include "RecordText.h"

#include <filesystem>

namespace MediaLibrary {

bool RequestPathsUsable(const Header::MEDIACONVERSIONINFO& request, const char* exportName)
{
    const auto source = FieldText(request.szSourceFile);
    const auto output = FieldText(request.szOutputFile);
    if (!source || !output) {
        LogMessage(1, "%s: a path of the request is longer than %zu bytes; nothing converted", exportName,
                   Header::kPathCapacity - 1);
        return false;
    }
    if (output->empty()) {
        LogMessage(1, "%s: the request names no output file; nothing converted", exportName);
        return false;
    }
    std::error_code error;
    if (std::filesystem::equivalent(*source, *output, error)) {
        LogMessage(1, "%s: the output %s is the source itself; nothing converted", exportName, request.szOutputFile);
        return false;
    }
    return true;
}

}  // namespace MediaLibrary
