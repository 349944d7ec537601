#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

namespace velmora::platform {

// The character text starts with and its length in bytes; none when the bytes are not UTF-8
// (overlong forms, encoded surrogates and values past U+10FFFF included). text is not empty.
std::optional<std::pair<char32_t, std::size_t>> FirstUtf8Character(std::string_view text);

// The length of the UTF-8 character text starts with; 0 when none does.
inline std::size_t Utf8CharacterLength(std::string_view text)
{
    const auto character = text.empty() ? std::nullopt : FirstUtf8Character(text);
    return character ? character->second : 0;
}

}  // namespace velmora::platform
