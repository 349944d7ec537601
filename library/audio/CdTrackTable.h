#pragma once

#include "CdDrive.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace MediaLibrary::Audio {

struct TrackExtent {
    std::uint32_t start;    // logical sector of the track's first sector
    std::uint32_t length;   // sectors
};

// Where each track of a disc lies, read from its table of contents. The drive stays open and
// its tray locked until the table is released (or goes).
class CCDTrackTable {
public:
    // False when the drive cannot be read, and problem says why.
    bool ReadTrackTable(char driveLetter, std::string* problem = nullptr);
    void Release();
    const std::vector<TrackExtent>& Extents() const { return m_extents; }

private:
    std::unique_ptr<CdDevice> m_device;
    std::vector<TrackExtent> m_extents;
};

// The track number inside a track's .cda file (the byte at offset 22); -1 when it cannot be read.
int ReadCdaTrackNumber(const char* path);

}  // namespace MediaLibrary::Audio
