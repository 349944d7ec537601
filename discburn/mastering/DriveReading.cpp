// Reading back from a held drive, for the verification of what was written.
#include "LibburnParts.h"

#include <climits>

namespace velmora::discburn {
namespace {

burn::burn_drive_info& InfoOf(void* infos) { return static_cast<burn::burn_drive_info*>(infos)[0]; }

// libburn's own retries and messages stay off: a block that does not read fails the check.
constexpr int kQuietSingleTry = 2 | 4;

std::uint64_t StartSector(const burn::burn_toc_entry& entry)
{
    if (entry.extensions_valid & 1) return static_cast<std::uint64_t>(std::max(entry.start_lba, 0));
    const int sector = (entry.pmin * 60 + entry.psec) * 75 + entry.pframe - 150;
    return static_cast<std::uint64_t>(std::max(sector, 0));
}

}  // namespace

bool HeldDrive::WritesCds() const
{
    const burn::burn_drive_info& info = InfoOf(infos_);
    return info.write_cdr || info.write_cdrw;
}

bool HeldDrive::ReadData(std::uint64_t address, unsigned char* buffer, std::size_t size)
{
    off_t count = 0;
    const int read = burn::burn_read_data(InfoOf(infos_).drive, static_cast<off_t>(address), reinterpret_cast<char*>(buffer),
                                          static_cast<off_t>(size), &count, kQuietSingleTry);
    TakeLibburnFailure();
    return read == 1 && count == static_cast<off_t>(size);
}

bool HeldDrive::ReadAudio(std::uint64_t sector, unsigned char* buffer, std::size_t sectors)
{
    if (sector > INT_MAX) return false;
    const auto size = static_cast<off_t>(sectors * 2352);
    off_t count = 0;
    const int read = burn::burn_read_audio(InfoOf(infos_).drive, static_cast<int>(sector), reinterpret_cast<char*>(buffer),
                                           size, &count, kQuietSingleTry);
    TakeLibburnFailure();
    return read == 1 && count == size;
}

std::vector<std::uint64_t> HeldDrive::TrackStartSectors()
{
    std::vector<std::uint64_t> starts;
    burn::burn_disc* disc = burn::burn_drive_get_disc(InfoOf(infos_).drive);
    if (!disc) return starts;
    int sessionCount = 0;
    burn::burn_session** sessions = burn::burn_disc_get_sessions(disc, &sessionCount);
    for (int session = 0; session < sessionCount; ++session) {
        int trackCount = 0;
        burn::burn_track** tracks = burn::burn_session_get_tracks(sessions[session], &trackCount);
        for (int track = 0; track < trackCount; ++track) {
            burn::burn_toc_entry entry{};
            burn::burn_track_get_entry(tracks[track], &entry);
            starts.push_back(StartSector(entry));
        }
    }
    burn::burn_disc_free(disc);
    TakeLibburnFailure();
    return starts;
}

}  // namespace velmora::discburn
