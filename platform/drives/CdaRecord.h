#pragma once

#include "CdToc.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::platform {

// The small RIFF file of form type CDDA that stands for one audio track ("Track03.cda"):
// 44 bytes, track number at offset 22, start and length as sectors and as MSF.
constexpr std::size_t kCdaRecordSize = 44;
using CdaRecord = std::array<unsigned char, kCdaRecordSize>;

CdaRecord MakeCdaRecord(int trackNumber, int startSector, int lengthSectors);

// "Track03.cda" for track 3.
std::string CdaFileName(int trackNumber);

// The track number a name like "Track03.cda" stands for (case ignored); none for other names.
std::optional<int> TrackOfCdaFileName(std::string_view name);

}  // namespace velmora::platform
