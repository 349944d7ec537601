#include "FuzzTarget.h"

#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace velmora::fuzz {
namespace {

std::map<std::string, Entry>& Registry()
{
    static std::map<std::string, Entry> targets;
    return targets;
}

std::string& Input()
{
    static std::string name;
    return name;
}

}  // namespace

const std::string& InputFile(const char* name, std::string_view bytes, std::size_t offset)
{
    static std::map<std::string, std::pair<int, std::string>> files;
    auto [at, made] = files.try_emplace(name);
    if (made) {
        at->second.first = ::memfd_create(name, MFD_CLOEXEC);
        at->second.second = "/proc/self/fd/" + std::to_string(at->second.first);
    }
    const int file = at->second.first;
    FUZZ_CHECK(file >= 0 && ::ftruncate(file, 0) == 0 && ::ftruncate(file, static_cast<off_t>(offset)) == 0);
    FUZZ_CHECK(::pwrite(file, bytes.data(), bytes.size(), static_cast<off_t>(offset)) ==
               static_cast<ssize_t>(bytes.size()));
    return at->second.second;
}

bool Register(const char* name, Entry entry)
{
    return Registry().emplace(name, entry).second;
}

const std::map<std::string, Entry>& Targets()
{
    return Registry();
}

void Violated(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s%s%s\n", file, line, condition,
                 Input().empty() ? "" : "\n  input: ", Input().c_str());
    std::abort();
}

void SetCurrentInput(std::string name)
{
    Input() = std::move(name);
}

const std::string& CurrentInput()
{
    return Input();
}

bool IsCleanText(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = lead < 0x80 ? 1 : lead >> 5 == 0x6 ? 2 : lead >> 4 == 0xE ? 3 : lead >> 3 == 0x1E ? 4 : 0;
        if (length == 0 || at + length > text.size()) return false;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t next = 1; next < length; ++next) {
            const auto byte = static_cast<unsigned char>(text[at + next]);
            if (byte >> 6 != 0x2) return false;
            code = code << 6 | (byte & 0x3F);
        }
        constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        if ((code < 0x20 && code != '\t') || (code >= 0x7F && code <= 0x9F)) return false;
        at += length;
    }
    return true;
}

}  // namespace velmora::fuzz
