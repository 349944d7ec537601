#include "CddbText.h"

#include <algorithm>

namespace CDDB {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool Between(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

// The length of the valid UTF-8 character at the start of text (RFC 3629: no overlong forms,
// no surrogates, nothing past U+10FFFF); 0 when none starts there.
std::size_t CharacterLength(std::string_view text)
{
    const auto byte = [&](std::size_t at) { return at < text.size() ? static_cast<unsigned char>(text[at]) : 0; };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;   // the range of the second byte
    if (Between(lead, 0xC2, 0xDF)) length = 2;
    else if (Between(lead, 0xE0, 0xEF)) length = 3;
    else if (Between(lead, 0xF0, 0xF4)) length = 4;
    else return 0;
    if (lead == 0xE0) low = 0xA0;
    else if (lead == 0xED) high = 0x9F;
    else if (lead == 0xF0) low = 0x90;
    else if (lead == 0xF4) high = 0x8F;
    if (!Between(byte(1), low, high)) return 0;
    for (std::size_t at = 2; at < length; ++at)
        if (!Between(byte(at), 0x80, 0xBF)) return 0;
    return length;
}

}  // namespace

std::string CleanText(std::string_view text)
{
    std::string clean;
    clean.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {
            if (lead == '\t' || (lead >= 0x20 && lead != 0x7F)) clean += static_cast<char>(lead);
            ++at;
            continue;
        }
        const std::size_t length = CharacterLength(text.substr(at));
        if (length == 0) {
            clean += kReplacement;
            ++at;
            continue;
        }
        // U+0080..U+009F: terminals take these for controls too.
        const bool c1Control = lead == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
        if (!c1Control) clean += text.substr(at, length);
        at += length;
    }
    return clean;
}

bool IsCategory(std::string_view word)
{
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool IsDiscId(std::string_view word)
{
    return word.size() == 8 && std::all_of(word.begin(), word.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
           });
}

}  // namespace CDDB
