#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace MediaLibrary::Rip {

// Room for the hidden name a file is written under before it takes its own (NAME_MAX less that).
constexpr std::size_t kNameLimit = 200;

// A title made safe as a file name: characters unsafe in file names (path separators, the
// characters other systems forbid, control characters) and bytes that are not UTF-8 become "_";
// no leading dot, no trailing blanks or dots.
std::string SafeFileTitle(std::string_view title);

// Text cut to at most limit bytes without splitting a UTF-8 character.
std::string_view CutUtf8(std::string_view text, std::size_t limit);

// "03 - Title.mp3" for a titled track, "Track03.mp3" for one without a title; at most limit bytes,
// the title cut to fit. Empty when not even the number fits.
std::string TrackFileName(int number, std::string_view title, std::string_view extension, std::size_t limit);

// The name of copy n (from 2) of a file: "03 - Title (2).mp3".
std::string CopyName(const std::string& name, int copy);

}  // namespace MediaLibrary::Rip
