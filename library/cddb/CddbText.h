#pragma once

#include <string>
#include <string_view>

namespace CDDB {

// Server text made fit to store, show and print: control characters (C0 but tab, DEL, C1) are
// dropped, so that no title can drive a terminal, and each byte that starts no valid UTF-8
// character becomes U+FFFD, so that fields can be cut at character boundaries.
std::string CleanText(std::string_view text);

// A category as the server names them ("rock", "misc"): lower-case letters only.
bool IsCategory(std::string_view word);
// A disc id as the server names it: exactly 8 hex digits.
bool IsDiscId(std::string_view word);

}  // namespace CDDB
