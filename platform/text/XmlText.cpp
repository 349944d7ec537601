#include "XmlText.h"

#include "Utf8.h"

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
        const auto character = FirstUtf8Character(text);
        if (!character) return "it holds bytes that are not UTF-8 text";
        if (auto why = WhyNotXmlCharacter(character->first)) return "it holds " + *why;
        text.remove_prefix(character->second);
    }
    return std::nullopt;
}

}  // namespace velmora::platform
