#pragma once

#include "DiscIds.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace AccurateRip {

// One track of one submission in the database: how many rips agreed on the checksum.
struct TrackEntry {
    int confidence = 0;
    std::uint32_t checksum = 0;   // of version 1 or 2; the database does not say which
};

// The database's answer for a disc: the submissions whose ids are the disc's, each a checksum
// per track. Whatever the answer holds beyond the last whole submission is left out.
struct Database {
    std::vector<std::vector<TrackEntry>> submissions;
};

// Reads a database answer; submissions for another disc or another number of tracks are left out.
Database ParseDatabase(std::string_view answer, const DiscIds& disc);

enum class Verdict { Accurate, NotAccurate, NotInDatabase, NoAnswer };

struct TrackVerdict {
    Verdict verdict = Verdict::NoAnswer;
    int confidence = 0;   // accurate: the best agreement found
    int version = 0;      // accurate: 1 or 2, whichever checksum matched it

    // "accurate (confidence 12, v2)", "not accurate", "not in the database", "not verified: <why>".
    std::string Text(const std::string& noAnswerReason = {}) const;
};

// The verdict for a track (from 1) of the disc with its two checksums.
TrackVerdict Judge(const Database& database, int track, std::uint32_t v1, std::uint32_t v2);

}  // namespace AccurateRip
