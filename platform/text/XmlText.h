#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::platform {

// What the XML files we write may carry of a name: UTF-8 text whose characters XML 1.0 allows,
// less the control characters it tolerates but that no name should hold (everything below a
// blank but tab and newline, DEL and the C1 controls).

// Why text cannot be carried, in words ("it holds bytes that are not UTF-8 text"); none when it can.
std::optional<std::string> WhyNotXmlText(std::string_view text);
// Why a character cannot be carried ("a control character (U+0007)"); none when it can.
std::optional<std::string> WhyNotXmlCharacter(char32_t code);

}  // namespace velmora::platform
