#pragma once

#include "drives/CdToc.h"

#include <cstdint>
#include <string>
#include <vector>

namespace CDDB {

// A table-of-contents address in minutes, seconds and frames, lead-in included.
struct MsfAddress {
    int minutes = 0;
    int seconds = 0;
    int frames = 0;
};

// The track starts of a table of contents, followed by its lead-out; none when it names no track.
std::vector<MsfAddress> TocAddresses(const velmora::platform::CDROM_TOC& toc);

// The CDDB disc id of a disc whose track starts are given in order, followed by the lead-out.
std::uint32_t DiscId(const std::vector<MsfAddress>& tracksThenLeadOut);

// The disc part of a query: "0<id in hex>+<tracks>+<offset>...+<total seconds>".
// Throws std::runtime_error when the table names no track.
std::string QueryString(const std::vector<MsfAddress>& tracksThenLeadOut);

}  // namespace CDDB
