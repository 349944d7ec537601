#pragma once

#include "RecordText.h"
#include "log/Log.h"
#include "paths/PathParts.h"

#include <string>
#include <string_view>

namespace velmora::front {

// Copies a path into a request field; false, with the field emptied and a line logged, when it
// does not fit: a path cut short would name another file.
template <std::size_t Capacity>
bool SetRequestPath(char (&field)[Capacity], std::string_view path)
{
    if (MediaLibrary::SetFieldText(field, path)) return true;
    LogMessage(1, "The path %.*s is longer than %zu bytes; the file is skipped", static_cast<int>(path.size()),
               path.data(), Capacity - 1);
    return false;
}

// Removes the folder with everything in it; failures are left alone.
void CleanUpFolder(const std::string& folder);

}  // namespace velmora::front
