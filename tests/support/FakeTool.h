#pragma once

#include <filesystem>
#include <string>

namespace velmora::test {

// Writes an executable shell script standing in for an external tool.
void WriteFakeTool(const std::filesystem::path& file, const std::string& body);

}  // namespace velmora::test
