#pragma once

#include <cdio/types.h>

#include <functional>

typedef struct cdrom_drive_s cdrom_drive_t;

namespace MediaLibrary::Audio {

// How the paranoia reader fetches raw sectors from a drive.
using SectorRead = long (*)(cdrom_drive_t* drive, void* buffer, lsn_t first, long sectors);
// Stands between the paranoia reader and the drive: gets the drive's own read and answers as a
// drive would (the sectors read, or a negative number for a failed read).
using SectorReadFilter = std::function<long(SectorRead read, cdrom_drive_t* drive, void* buffer, lsn_t first, long sectors)>;

// While it lives, the CD readers opened on this thread read through the filter: a drive that
// fails or jitters on chosen sectors, for what only a damaged disc shows.
class ScopedSectorReadFilter {
public:
    explicit ScopedSectorReadFilter(SectorReadFilter filter);
    ~ScopedSectorReadFilter();
    ScopedSectorReadFilter(const ScopedSectorReadFilter&) = delete;
    ScopedSectorReadFilter& operator=(const ScopedSectorReadFilter&) = delete;
};

// Puts the filter of this thread, if any, between the reader and the drive.
void FilterSectorReads(cdrom_drive_t* drive);

}  // namespace MediaLibrary::Audio
