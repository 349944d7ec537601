// CDDB answers come from a server on the network: match lines and entries must parse safely.

#include "cddb/CdEntry.h"
#include "cddb/ReadCDDB.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    auto lines = CDDB::SplitResponseLines(body);
    for (const auto& line : lines) {
        CDDB::ParseMatchLine(line, true);
        CDDB::GetResponseCode(line);
    }
    if (!lines.empty()) lines.front().clear();
    MediaLibrary::Header::CD_TEXT_INFO tracks[3];
    CDDB::CCdEntry entry(tracks, 3, lines);
    for (const auto& track : tracks) {
        if (strnlen(track.szTitle, sizeof track.szTitle) == sizeof track.szTitle) __builtin_trap();
        if (strnlen(track.szArtist, sizeof track.szArtist) == sizeof track.szArtist) __builtin_trap();
    }
    return 0;
}
