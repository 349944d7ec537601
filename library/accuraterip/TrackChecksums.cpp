#include "TrackChecksums.h"

#include <zlib.h>

#include <algorithm>

namespace AccurateRip {

TrackChecksums::TrackChecksums(std::int64_t trackFrames, bool firstTrack, bool lastTrack)
    : from_(firstTrack ? kEdgeFrames : 1),
      to_(static_cast<std::uint64_t>(std::max<std::int64_t>(0, lastTrack ? trackFrames - kEdgeFrames : trackFrames))),
      crc_(static_cast<std::uint32_t>(crc32(0, nullptr, 0)))
{
}

void TrackChecksums::Add(const unsigned char* frames, std::size_t count)
{
    // zlib takes at most 4 GiB at once; a block is far smaller.
    crc_ = static_cast<std::uint32_t>(crc32(crc_, frames, static_cast<uInt>(count * 4)));
    for (std::size_t at = 0; at < count; ++at) {
        ++position_;
        if (position_ < from_ || position_ > to_) continue;
        const unsigned char* bytes = frames + at * 4;
        const std::uint64_t sample = static_cast<std::uint64_t>(bytes[0]) | static_cast<std::uint64_t>(bytes[1]) << 8 |
                                     static_cast<std::uint64_t>(bytes[2]) << 16 |
                                     static_cast<std::uint64_t>(bytes[3]) << 24;
        const std::uint64_t product = sample * position_;
        v1_ += static_cast<std::uint32_t>(product);
        v2_ += static_cast<std::uint32_t>(product) + static_cast<std::uint32_t>(product >> 32);
    }
}

}  // namespace AccurateRip
