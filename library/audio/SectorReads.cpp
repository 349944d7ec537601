#include "SectorReads.h"

#include <cdio/paranoia/cdda.h>

namespace MediaLibrary::Audio {
namespace {

// The reader calls back without user data, on the thread that reads.
thread_local const SectorReadFilter* activeFilter = nullptr;
thread_local SectorRead driveRead = nullptr;

long FilteredRead(cdrom_drive_t* drive, void* buffer, lsn_t first, long sectors)
{
    return (*activeFilter)(driveRead, drive, buffer, first, sectors);
}

}  // namespace

ScopedSectorReadFilter::ScopedSectorReadFilter(SectorReadFilter filter)
{
    activeFilter = new SectorReadFilter(std::move(filter));
}

ScopedSectorReadFilter::~ScopedSectorReadFilter()
{
    delete activeFilter;
    activeFilter = nullptr;
}

void FilterSectorReads(cdrom_drive_t* drive)
{
    if (!activeFilter || !drive->read_audio || drive->read_audio == FilteredRead) return;
    driveRead = drive->read_audio;
    drive->read_audio = FilteredRead;
}

}  // namespace MediaLibrary::Audio
