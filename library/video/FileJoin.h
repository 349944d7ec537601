#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace MediaLibrary::Video {

// Writes the parts one after the other, byte for byte, into joined (replacing it). Returns why
// it could not. Parts that are missing or not files, or a joined file that is one of the parts
// (it would be emptied before it is read), are refused before joined is touched; a join that
// fails part-way leaves nothing at joined.
std::optional<std::string> ConcatenateFiles(const std::vector<std::filesystem::path>& parts,
                                            const std::filesystem::path& joined);

}  // namespace MediaLibrary::Video
