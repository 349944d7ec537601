#include "BurnResult.h"

#include <cstdio>

namespace velmora::discburn {

HResult FromLibburnCode(int code)
{
    if (code < 0) return code;   // libisofs's codes, queued with libburn's
    if ((static_cast<std::uint32_t>(code) & 0xFFFF0000u) != 0x00020000u) return kWriteFailed;
    return static_cast<HResult>(static_cast<std::uint32_t>(kLibburnBase) | (static_cast<std::uint32_t>(code) & 0xFFFFu));
}

std::string WithCode(const char* format, HResult hr)
{
    char text[512];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(hr));
#pragma GCC diagnostic pop
    return text;
}

}  // namespace velmora::discburn
