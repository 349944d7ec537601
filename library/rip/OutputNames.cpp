#include "OutputNames.h"

#include "text/Utf8.h"

#include <cstdio>

namespace MediaLibrary::Rip {
namespace {

constexpr std::string_view kUnsafe = "/\\:*?\"<>|";

bool Unsafe(unsigned char c)
{
    return c < 0x20 || c == 0x7F || kUnsafe.find(static_cast<char>(c)) != std::string_view::npos;
}

std::string TwoDigits(int number)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", number);
    return text;
}

std::string SafeFileTitle(std::string_view title)
{
    std::string safe;
    for (std::size_t at = 0; at < title.size();) {
        const std::size_t length = velmora::platform::Utf8CharacterLength(title.substr(at));
        if (length == 0 || (length == 1 && Unsafe(static_cast<unsigned char>(title[at])))) {
            safe += '_';
            ++at;
            continue;
        }
        safe.append(title.substr(at, length));
        at += length;
    }
    while (!safe.empty() && (safe.back() == ' ' || safe.back() == '.')) safe.pop_back();
    const auto start = safe.find_first_not_of(' ');
    safe.erase(0, start == std::string::npos ? safe.size() : start);
    if (!safe.empty() && safe.front() == '.') safe.front() = '_';
    return safe;
}

std::string_view CutUtf8(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit) return text;
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut);
}

}  // namespace

std::string TrackFileName(int number, std::string_view title, std::string_view extension, std::size_t limit)
{
    const std::string safe = SafeFileTitle(title);
    const std::string suffix = std::string(".").append(extension);
    if (safe.empty()) {
        const std::string plain = "Track" + TwoDigits(number) + suffix;
        return plain.size() <= limit ? plain : std::string();
    }
    const std::string prefix = TwoDigits(number) + " - ";
    if (prefix.size() + suffix.size() >= limit) return {};
    std::string_view kept = CutUtf8(safe, limit - prefix.size() - suffix.size());
    while (!kept.empty() && (kept.back() == ' ' || kept.back() == '.')) kept.remove_suffix(1);
    return prefix + std::string(kept) + suffix;
}

std::string CopyName(const std::string& name, int copy)
{
    const auto dot = name.rfind('.');
    const std::string tag = " (" + std::to_string(copy) + ")";
    if (dot == std::string::npos || dot == 0) return name + tag;
    return name.substr(0, dot) + tag + name.substr(dot);
}

}  // namespace MediaLibrary::Rip
