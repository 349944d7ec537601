#include "CdTrackTable.h"

#include "drives/DriveTable.h"

namespace MediaLibrary::Audio {
namespace {

constexpr std::size_t kCdaReadLimit = 50;
constexpr std::size_t kCdaTrackOffset = 22;

}  // namespace

bool CCDTrackTable::ReadTrackTable(char driveLetter, std::string* problem)
{
    Release();
    CDROM_TOC toc;
    m_device = OpenLockedDrive(driveLetter, toc, problem);
    if (!m_device) return false;
    const int count = velmora::platform::TrackCount(toc);
    for (int at = 0; at < count; ++at) {
        const auto& entry = toc.TrackData[at];
        const int length = velmora::platform::FramesOf(toc.TrackData[at + 1]) - velmora::platform::FramesOf(entry);
        m_extents.push_back({static_cast<std::uint32_t>(velmora::platform::SectorOf(entry)),
                             static_cast<std::uint32_t>(length)});
    }
    return !m_extents.empty();
}

void CCDTrackTable::Release()
{
    m_device.reset();
    m_extents.clear();
}

int ReadCdaTrackNumber(const char* path)
{
    if (!path) return -1;
    const auto head = velmora::platform::DriveTable::Load().ReadFileHead(path, kCdaReadLimit);
    if (!head || head->size() <= kCdaTrackOffset) return -1;
    return static_cast<signed char>((*head)[kCdaTrackOffset]);
}

}  // namespace MediaLibrary::Audio
