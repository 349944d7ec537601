#include "PathParts.h"

namespace velmora::platform {
namespace {

bool IsDrivePath(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':';
}

// Where the extension starts in a name; the end of the name when it has none.
std::size_t ExtensionStart(std::string_view name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name == "..") return name.size();
    return dot;
}

}  // namespace

std::string_view FileNamePart(std::string_view path)
{
    const auto separator = path.find_last_of(IsDrivePath(path) ? "/\\" : "/");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string_view TitlePart(std::string_view path)
{
    const auto name = FileNamePart(path);
    return name.substr(0, ExtensionStart(name));
}

std::string_view ExtensionPart(std::string_view path)
{
    const auto name = FileNamePart(path);
    return name.substr(ExtensionStart(name));
}

std::string LowerExtension(std::string_view path)
{
    std::string extension(ExtensionPart(path));
    for (auto& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

}  // namespace velmora::platform
