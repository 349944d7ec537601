#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace velmora::platform {

// libcdio's cue reader trusts what it reads: a first track numbered 70 makes it write outside its
// table, a data file shorter than the sheet claims gives lengths that wrap, a FIFO blocks it. So
// an image reaches it only after these checks, and only in the plain form it reads the same way.
constexpr std::size_t kCueSheetLimit = 64 * 1024;
constexpr std::size_t kCueLineLimit = 1024;   // libcdio splits longer lines into lines of their own

// Empty when libcdio may read an image of this cue text whose data file (the cue's own name with
// "bin" for "cue", which is the file libcdio reads) is dataFileName beside it and dataBytes long;
// else the problem, in words. One FILE "name" BINARY, naming that file, before tracks numbered
// from 1 up one by one to at most 99, each with one INDEX 01 later than the track before it; the
// data must hold at least a sector of the last track and no more than a CD can.
std::string CheckCueSheet(std::string_view text, std::string_view dataFileName, std::uint64_t dataBytes);

// The whole check of an image before libcdio opens it: the cue and its data file are opened
// without blocking and must be regular files; then CheckCueSheet. Empty when it may be opened.
std::string CheckDiscImage(const std::filesystem::path& cue);

}  // namespace velmora::platform
