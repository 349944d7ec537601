#pragma once

#include <cstdint>

namespace velmora::platform {

constexpr int kFramesPerSecond = 75;
constexpr int kLeadInFrames = 150;            // MSF addresses count the two seconds before track 1
constexpr std::uint32_t kAudioSectorBytes = 2352;
constexpr unsigned char kLeadOutTrack = 0xAA;
constexpr unsigned char kDataTrackControl = 0x04;

// One table-of-contents entry as the CD-ROM driver publishes it; Address is {0, M, S, F} in MSF form.
struct TRACK_DATA {
    unsigned char Reserved;
    unsigned char Control : 4;
    unsigned char Adr : 4;
    unsigned char TrackNumber;
    unsigned char Reserved1;
    unsigned char Address[4];
};

// The disc's table of contents: entries FirstTrack..LastTrack, then the lead-out.
struct CDROM_TOC {
    unsigned char Length[2];   // big-endian count of the bytes after this field
    unsigned char FirstTrack;
    unsigned char LastTrack;
    TRACK_DATA TrackData[100];
};

static_assert(sizeof(TRACK_DATA) == 8);
static_assert(sizeof(CDROM_TOC) == 804);

// Frames from the start of the disc, lead-in included.
inline int FramesOf(const TRACK_DATA& entry)
{
    return (entry.Address[1] * 60 + entry.Address[2]) * kFramesPerSecond + entry.Address[3];
}

// The logical sector number of an entry's address.
inline int SectorOf(const TRACK_DATA& entry)
{
    return FramesOf(entry) - kLeadInFrames;
}

// Number of track entries (lead-out not counted); 0 for an empty table.
inline int TrackCount(const CDROM_TOC& toc)
{
    return toc.LastTrack >= toc.FirstTrack && toc.FirstTrack > 0 ? toc.LastTrack - toc.FirstTrack + 1 : 0;
}

inline bool IsAudio(const TRACK_DATA& entry)
{
    return (entry.Control & kDataTrackControl) == 0;
}

}  // namespace velmora::platform
