#pragma once

#include "drives/Drive.h"

#include <optional>
#include <string_view>

namespace velmora::discburn {

enum class CopySource { DataDisc, AudioCd, NoMedia };

// The lettered drive of a root ("E:\"), as the drive table has it now; none when there is none.
std::optional<platform::Drive> CopyDrive(std::string_view root);

// What the disc in the drive is to a copy: an audio CD when it has audio tracks, else a data disc
// when it has a data track (a folder drive: when it holds files).
CopySource CopySourceOf(const platform::Drive& drive);

// The copied disc comes out of a real drive, to make room for the blank one.
void EjectSource(const platform::Drive& drive);

}  // namespace velmora::discburn
