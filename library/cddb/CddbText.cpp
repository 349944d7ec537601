#include "CddbText.h"

#include "text/Utf8.h"

#include <algorithm>

namespace CDDB {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

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
        const std::size_t length = velmora::platform::Utf8CharacterLength(text.substr(at));
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
