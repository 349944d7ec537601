#pragma once

#include "FileDescriptor.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace velmora::platform {

// A plain file opened for reading, or why not. Opening never waits (a named pipe would hold the
// open, and every read after it), and anything but a plain file is refused.
struct PlainFile {
    FileDescriptor fd;
    std::uint64_t size = 0;
    std::string problem;   // "<file> cannot be opened: <why>" or "<file> is not a regular file"
};
PlainFile OpenPlainFile(const std::filesystem::path& file);

// Up to limit bytes from where the opened file stands; none when reading fails.
std::optional<std::string> ReadUpTo(const PlainFile& opened, std::size_t limit);
// Up to limit bytes from the start of a plain file; none when there is no plain file to read.
std::optional<std::string> ReadPlainFileHead(const std::filesystem::path& file, std::size_t limit);

}  // namespace velmora::platform
