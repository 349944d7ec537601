#pragma once

#include "Database.h"
#include "DiscIds.h"
#include "http/HttpClient.h"

#include <string>

namespace AccurateRip {

// What the database server said about a disc.
struct LookupResult {
    enum class Outcome { Found, NotFound, NoAnswer };
    Outcome outcome = Outcome::NoAnswer;
    Database database;
    std::string url;
    std::string reason;   // no answer: why, in words
};

// Asks the database server of the AccurateRipServer setting (a host, or host:port; else the
// usual one) for the disc, time-boxed and capped as the CDDB exchanges are.
LookupResult LookUp(const DiscIds& disc, const velmora::platform::HttpLimits& limits = {});

}  // namespace AccurateRip
