#pragma once

#include <filesystem>

namespace velmora::discburn {

// Whether the file is an ISO 9660 image: "CD001" in the first volume descriptor (byte 32769).
bool IsIso9660Image(const std::filesystem::path& file);

}  // namespace velmora::discburn
