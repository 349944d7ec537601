#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace MediaLibrary::Rip {

// Room for the hidden name a file is written under before it takes its own (NAME_MAX less that).
constexpr std::size_t kNameLimit = 200;

// "03 - Title.mp3" for a titled track: characters unsafe in file names (path separators, the
// characters other systems forbid, control characters) and bytes that are not UTF-8 become "_",
// no leading dot, no trailing blanks or dots; "Track03.mp3" for one without a title; at most
// limit bytes, the title cut to fit without splitting a UTF-8 character. Empty when not even
// the number fits.
std::string TrackFileName(int number, std::string_view title, std::string_view extension, std::size_t limit);

// The name of copy n (from 2) of a file: "03 - Title (2).mp3".
std::string CopyName(const std::string& name, int copy);

}  // namespace MediaLibrary::Rip
