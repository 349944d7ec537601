#pragma once

#include <string>
#include <string_view>

namespace velmora::platform {

// The parts of a path's last element, taken from the text alone (nothing is looked up).
// A drive path ("D:\Track03.cda") separates its elements with backslashes as well.
// As with std::filesystem, a dot that starts the name ("." , "..", ".profile") starts no extension,
// so that TitlePart + ExtensionPart is always the whole name.

// "/a/b/clip.tar.gz" -> "clip.tar.gz"; the whole text when it has no separator.
std::string_view FileNamePart(std::string_view path);
// "/a/b/clip.tar.gz" -> "clip.tar"
std::string_view TitlePart(std::string_view path);
// "/a/b/clip.tar.gz" -> ".gz"; empty when the name has none.
std::string_view ExtensionPart(std::string_view path);
// "/a/b/CLIP.WAV" -> ".wav" (ASCII letters folded).
std::string LowerExtension(std::string_view path);

}  // namespace velmora::platform
