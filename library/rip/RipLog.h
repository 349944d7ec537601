#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace MediaLibrary::Rip {

// One track as the rip log tells it.
struct LoggedTrack {
    int number = 0;
    std::string file{};          // the file written; empty when none
    std::int64_t frames = 0;     // sample frames read
    std::string paranoia{};      // "exact", or why not
    std::uint32_t crc32 = 0, arV1 = 0, arV2 = 0;
    std::string verdict{};       // the AccurateRip verdict in words
};

// What the rip log says about the rip as a whole.
struct RipLogFacts {
    std::string version{};       // "Lumetra 1.2"
    std::string drive{};         // "D: /dev/sr0"
    int readOffset = 0;
    std::string paranoiaMode{};
    std::string discIds{};       // AccurateRip's "NNN-id1-id2-cddb"
    std::string cddbQuery{};     // the disc part of a CDDB query
    std::string titles{};        // where the titles came from: "CD-TEXT", "CDDB rock 0b000d03", "none"
    std::string database{};      // what the AccurateRip server said
    std::vector<LoggedTrack> tracks{};
};

std::string ComposeRipLog(const RipLogFacts& facts);

// Writes the log as "rip.log" into the folder, or "rip (2).log" and on when that is taken;
// the path written, or empty with the reason.
std::filesystem::path WriteRipLog(const std::filesystem::path& folder, const std::string& text, std::string& failure);

}  // namespace MediaLibrary::Rip
