#pragma once

#include <string_view>

namespace velmora::platform {

// The text without blanks, tabs and line ends at either side.
constexpr std::string_view Trim(std::string_view text)
{
    constexpr std::string_view kBlanks = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace velmora::platform
