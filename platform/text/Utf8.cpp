#include "Utf8.h"

namespace velmora::platform {

std::optional<std::pair<char32_t, std::size_t>> FirstUtf8Character(std::string_view text)
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

}  // namespace velmora::platform
