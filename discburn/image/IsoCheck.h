#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velmora::discburn {

// Why the file is no whole ISO 9660 image, in words that go before its path: no "CD001" in the
// first volume descriptor (byte 32769), or fewer bytes than its primary volume descriptor
// declares (a download cut short would make a broken disc). None when it is one.
std::optional<std::string> WhyNotWholeIsoImage(const std::filesystem::path& file);

}  // namespace velmora::discburn
