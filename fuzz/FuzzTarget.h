#pragma once

// A fuzz target is a named function that takes one input and checks what must hold of the
// parser's answer. The libFuzzer programs call one target each; the corpus replay test calls
// every target on every file of its corpus, in the ordinary sanitizer build.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace velmora::fuzz {

using Entry = void (*)(std::string_view input);

// Called from static initialisation only: registers the target under its name.
bool Register(const char* name, Entry entry);
const std::map<std::string, Entry>& Targets();

// Reports the condition that did not hold, with the input being tried when one was named, and aborts.
[[noreturn]] void Violated(const char* condition, const char* file, int line);
// Named in the report of a violation.
void SetCurrentInput(std::string name);
const std::string& CurrentInput();

// A file in memory, one per name, whose content each input replaces: the bytes from offset on,
// zeros before. Named by its /proc path, for parsers that read files.
const std::string& InputFile(const char* name, std::string_view bytes, std::size_t offset = 0);

// UTF-8 by the book (shortest forms, no surrogates, nothing past U+10FFFF), with no control
// character but tab.
bool IsCleanText(std::string_view text);
// The field holds its terminator.
template <std::size_t Capacity>
bool IsTerminated(const char (&field)[Capacity])
{
    for (const char c : field)
        if (c == '\0') return true;
    return false;
}

}  // namespace velmora::fuzz

#define VELMORA_FUZZ_TARGET(name)                                                                    \
    static void FuzzTarget_##name(std::string_view input);                                           \
    [[maybe_unused]] static const bool fuzzTargetRegistered_##name =                                 \
        ::velmora::fuzz::Register(#name, FuzzTarget_##name);                                          \
    static void FuzzTarget_##name(std::string_view input)

// Unlike assert, stays in every build type.
#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::velmora::fuzz::Violated(#condition, __FILE__, __LINE__))
