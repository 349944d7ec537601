#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>

namespace MediaLibrary {

// The text of a fixed-size record field; none when the field holds no terminator, so that a
// path that was cut to fit is never used as if it were another file's name.
template <std::size_t Capacity>
std::optional<std::string_view> FieldText(const char (&field)[Capacity])
{
    const std::size_t length = strnlen(field, Capacity);
    if (length == Capacity) return std::nullopt;
    return std::string_view(field, length);
}

// Copies text with its terminator into a field; false (field emptied) when it does not fit.
template <std::size_t Capacity>
bool SetFieldText(char (&field)[Capacity], std::string_view text)
{
    if (text.size() >= Capacity) {
        field[0] = '\0';
        return false;
    }
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
    return true;
}

// Appends as much of text as fits before the terminator, never splitting a UTF-8 character.
template <std::size_t Capacity>
void AppendFieldTextCut(char (&field)[Capacity], std::string_view text)
{
    const std::size_t used = strnlen(field, Capacity - 1);
    std::size_t take = std::min(text.size(), Capacity - 1 - used);
    if (take < text.size()) {
        while (take > 0 && (static_cast<unsigned char>(text[take]) & 0xC0) == 0x80) --take;
    }
    std::memcpy(field + used, text.data(), take);
    field[used + take] = '\0';
}

}  // namespace MediaLibrary
