#pragma once

#include <cstddef>
#include <cstdint>

namespace AccurateRip {

constexpr int kFramesPerSector = 588;
// The disc's first track leaves out its first 5 sectors less one sample, the last its last 5
// sectors: drives differ most at the disc's edges.
constexpr std::int64_t kEdgeFrames = 5 * kFramesPerSector;

// The checksums of a track's audio, taken as its sample frames go by: the CRC32 of its bytes
// and the AccurateRip checksums of both versions.
class TrackChecksums {
public:
    TrackChecksums(std::int64_t trackFrames, bool firstTrack, bool lastTrack);

    // Little-endian 16-bit stereo frames, in order.
    void Add(const unsigned char* frames, std::size_t count);

    std::uint32_t Crc32() const { return crc_; }
    std::uint32_t V1() const { return v1_; }
    std::uint32_t V2() const { return v2_; }

private:
    std::uint64_t from_;   // the first position counted, from 1
    std::uint64_t to_;     // the last one
    std::uint64_t position_ = 0;
    std::uint32_t crc_ = 0;
    std::uint32_t v1_ = 0;
    std::uint32_t v2_ = 0;
};

}  // namespace AccurateRip
