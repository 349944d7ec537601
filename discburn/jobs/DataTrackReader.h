#pragma once

#include "drives/CdDevice.h"
#include "drives/Drive.h"
#include "files/FileDescriptor.h"

#include <cstdint>
#include <memory>
#include <string>

namespace velmora::discburn {

constexpr std::uint32_t kDataSectorBytes = 2048;

// The user data of a disc's first data track, sector by sector: from a drive or a BIN/CUE image
// through libcdio, from an ISO image drive straight out of its file.
class DataTrackReader {
public:
    // None when the drive holds no data track; problem says why.
    static std::unique_ptr<DataTrackReader> Open(const platform::Drive& drive, std::string& problem);

    // Sectors of the track as its table of contents gives them.
    std::uint32_t TrackSectors() const { return trackSectors_; }
    // Sectors of the ISO 9660 volume on it; 0 when it holds none. A track written at once may
    // end in run-out sectors past its volume that no drive can read.
    std::uint32_t VolumeSectors() const { return volumeSectors_; }
    // count sectors from first (from 0, in the track) into bytes, kDataSectorBytes each.
    bool Read(std::uint32_t first, std::uint32_t count, unsigned char* bytes) const;

private:
    DataTrackReader() = default;
    bool OpenTrackOf(const platform::Drive& drive, std::string& problem);
    bool OpenImageFile(const platform::Drive& drive, std::string& problem);
    void ReadVolumeSize();

    std::unique_ptr<platform::CdDevice> device_;
    platform::FileDescriptor file_;
    std::int32_t firstSector_ = 0;   // on the disc
    std::uint32_t trackSectors_ = 0;
    std::uint32_t volumeSectors_ = 0;
};

}  // namespace velmora::discburn
