#pragma once

#include "drives/CdToc.h"

#include <cstdint>
#include <string>
#include <vector>

namespace AccurateRip {

// The ids by which the AccurateRip database knows a disc.
struct DiscIds {
    int audioTracks = 0;
    std::uint32_t id1 = 0;    // sum of the audio tracks' start sectors and the lead-out's
    std::uint32_t id2 = 0;    // the same, each weighted by its track number (the lead-out by tracks + 1)
    std::uint32_t cddb = 0;   // the CDDB disc id

    // "/accuraterip/a/b/c/dBAR-NNN-id1-id2-cddb.bin", a to c the last three hexadecimal digits of id1.
    std::string DatabasePath() const;
    // "003-0000087f-00001cb7-0b000d03", as the log shows the disc.
    std::string Text() const;
};

// The ids of the disc whose table of contents this is; data tracks count for the weights and
// the CDDB id only. False when the table holds no audio track.
bool ComputeDiscIds(const velmora::platform::CDROM_TOC& toc, DiscIds& ids);

}  // namespace AccurateRip
