#include "DiscIds.h"

#include "cddb/DiscId.h"

#include <cstdio>

namespace AccurateRip {

using velmora::platform::CDROM_TOC;

std::string DiscIds::DatabasePath() const
{
    char path[96];
    std::snprintf(path, sizeof path, "/accuraterip/%x/%x/%x/dBAR-%s.bin", id1 & 0xF, (id1 >> 4) & 0xF, (id1 >> 8) & 0xF,
                  Text().c_str());
    return path;
}

std::string DiscIds::Text() const
{
    char text[48];
    std::snprintf(text, sizeof text, "%03d-%08x-%08x-%08x", audioTracks, id1, id2, cddb);
    return text;
}

bool ComputeDiscIds(const CDROM_TOC& toc, DiscIds& ids)
{
    const int tracks = velmora::platform::TrackCount(toc);
    ids = {};
    for (int at = 0; at < tracks; ++at) {
        const auto& entry = toc.TrackData[at];
        if (!velmora::platform::IsAudio(entry)) continue;
        const auto start = static_cast<std::uint32_t>(velmora::platform::SectorOf(entry));
        ++ids.audioTracks;
        ids.id1 += start;
        ids.id2 += (start > 0 ? start : 1) * entry.TrackNumber;
    }
    if (ids.audioTracks == 0) return false;
    const auto leadOut = static_cast<std::uint32_t>(velmora::platform::SectorOf(toc.TrackData[tracks]));
    ids.id1 += leadOut;
    ids.id2 += leadOut * static_cast<std::uint32_t>(tracks + 1);
    ids.cddb = CDDB::DiscId(CDDB::TocAddresses(toc));
    return true;
}

}  // namespace AccurateRip
