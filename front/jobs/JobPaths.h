#pragma once

#include "RecordText.h"
#include "log/Log.h"

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

// After the last '/'.
std::string FileNamePart(std::string_view path);
// The file name part without its last extension.
std::string FileTitle(std::string_view path);
// The extension with its dot; empty without one.
std::string Extension(std::string_view path);

// Removes the folder with everything in it; failures are left alone.
void CleanUpFolder(const std::string& folder);

}  // namespace velmora::front
