#pragma once

#include "WaveWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace MediaLibrary::Audio {

class RipProgress;

// What reading one track gave.
struct TrackRead {
    int result = 0;                        // 0, or a rip failure (6020 to 6023) whose reason is recorded
    std::vector<std::int32_t> skipped;     // sectors the reader could not read exactly
    std::int64_t frames = 0;               // sample frames delivered
    std::uint32_t crc32 = 0, arV1 = 0, arV2 = 0;
    int audioPosition = 0;                 // among the disc's audio tracks, from 1
};

// The ReadOffset setting: samples by which the drive reads late; 0 when not set or not believable.
int ReadOffsetSetting();

enum class Checksums { Taken, Skipped };

// Reads the track of the drive (its number on the disc) to its end into the writer, which it
// leaves unfinished for the caller to put in place, taking the track's checksums on the way when
// asked; the samples are taken readOffset on. Exact or failed: a track with any block the reader
// could not read or verify fails with 6022, its sectors named.
TrackRead ReadTrack(char drive, int track, int readOffset, WaveWriter& output, RipProgress& progress,
                    Checksums checksums = Checksums::Taken);

}  // namespace MediaLibrary::Audio
