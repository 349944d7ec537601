#include "XmlText.h"

#include <cstdio>
#include <utility>

namespace velmora::platform {
namespace {

std::string CodePoint(char32_t code)
{
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

// The character text starts with and its length in bytes; none when the bytes are not UTF-8
// (overlong forms, encoded surrogates and values past U+10FFFF included).
std::optional<std::pair<char32_t, std::size_t>> FirstCharacter(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead < 0x80) return std::pair{char32_t{lead}, std::size_t{1}};
    // lead byte mask and bits, length, and the least code point that needs this length
    struct Form {
        unsigned char mask, bits;
        std::size_t length;
        char32_t least;
    };
    constexpr Form kForms[] = {{0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};
    const Form* form = nullptr;
    for (const Form& candidate : kForms)
        if ((lead & candidate.mask) == candidate.bits) form = &candidate;
    if (!form || text.size() < form->length) return std::nullopt;
    char32_t code = lead & static_cast<unsigned char>(~form->mask);
    for (std::size_t at = 1; at < form->length; ++at) {
        const auto next = static_cast<unsigned char>(text[at]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < form->least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    return std::pair{code, form->length};
}

}  // namespace

std::optional<std::string> WhyNotXmlCharacter(char32_t code)
{
    if (code == U'\t' || code == U'\n') return std::nullopt;
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) return "a control character (" + CodePoint(code) + ")";
    if (code >= 0xD800 && code <= 0xDFFF) return "half of a UTF-16 pair (" + CodePoint(code) + "), which is no character";
    if (code == 0xFFFE || code == 0xFFFF || code > 0x10FFFF) return CodePoint(code) + ", which is no character";
    return std::nullopt;
}

std::optional<std::string> WhyNotXmlText(std::string_view text)
{
    while (!text.empty()) {
        const auto character = FirstCharacter(text);
        if (!character) return "it holds bytes that are not UTF-8 text";
        if (auto why = WhyNotXmlCharacter(character->first)) return "it holds " + *why;
        text.remove_prefix(character->second);
    }
    return std::nullopt;
}

}  // namespace velmora::platform
