#include "DataTrackReader.h"

#include "drives/CdToc.h"
#include "image/IsoCheck.h"

#include <cdio/cdio.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace velmora::discburn {
namespace {

constexpr std::uint32_t kVolumeDescriptorSector = 16;
constexpr std::uint32_t kLargestDiscSectors = 8'600'000'000 / kDataSectorBytes;

}  // namespace

std::unique_ptr<DataTrackReader> DataTrackReader::Open(const platform::Drive& drive, std::string& problem)
{
    std::unique_ptr<DataTrackReader> reader(new DataTrackReader);
    const bool opened = drive.kind == platform::DriveKind::IsoImage ? reader->OpenImageFile(drive, problem)
                                                                    : reader->OpenTrackOf(drive, problem);
    if (!opened) return nullptr;
    reader->ReadVolumeSize();
    return reader;
}

bool DataTrackReader::OpenTrackOf(const platform::Drive& drive, std::string& problem)
{
    device_ = platform::CdDevice::Open(drive, &problem);
    platform::CDROM_TOC toc{};
    if (!device_ || !device_->ReadToc(toc)) {
        if (problem.empty()) problem = "there is no disc in the drive";
        return false;
    }
    const int count = platform::TrackCount(toc);
    for (int at = 0; at < count; ++at) {
        const auto& entry = toc.TrackData[at];
        if (platform::IsAudio(entry)) continue;
        firstSector_ = platform::SectorOf(entry);
        const int length = platform::FramesOf(toc.TrackData[at + 1]) - platform::FramesOf(entry);
        trackSectors_ = length > 0 ? static_cast<std::uint32_t>(length) : 0;
        if (trackSectors_ > 0) return true;
    }
    problem = "the disc has no data track";
    return false;
}

bool DataTrackReader::OpenImageFile(const platform::Drive& drive, std::string& problem)
{
    // Never blocks on a FIFO or a device named as an image.
    file_.reset(::open(drive.source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat status{};
    if (!file_.valid() || ::fstat(file_.get(), &status) != 0) {
        problem = "the image " + drive.source.string() + " cannot be opened: " + std::strerror(errno);
        return false;
    }
    const auto sectors = static_cast<std::uint64_t>(status.st_size) / kDataSectorBytes;
    if (!S_ISREG(status.st_mode) || sectors == 0 || sectors > kLargestDiscSectors) {
        problem = "the image " + drive.source.string() + " is not a disc image";
        return false;
    }
    trackSectors_ = static_cast<std::uint32_t>(sectors);
    return true;
}

void DataTrackReader::ReadVolumeSize()
{
    std::vector<unsigned char> sector(kDataSectorBytes);
    if (trackSectors_ <= kVolumeDescriptorSector || !Read(kVolumeDescriptorSector, 1, sector.data())) return;
    if (const auto space = PrimaryVolumeSpace(sector.data())) volumeSectors_ = space->blocks;
}

bool DataTrackReader::Read(std::uint32_t first, std::uint32_t count, unsigned char* bytes) const
{
    if (count == 0 || first >= trackSectors_ || count > trackSectors_ - first) return false;
    if (device_)
        return cdio_read_mode1_sectors(device_->Native(), bytes, firstSector_ + static_cast<lsn_t>(first), false,
                                       count) == DRIVER_OP_SUCCESS;
    const std::size_t wanted = std::size_t{count} * kDataSectorBytes;
    std::size_t done = 0;
    while (done < wanted) {
        const off_t at = static_cast<off_t>(first) * kDataSectorBytes + static_cast<off_t>(done);
        const ssize_t got = ::pread(file_.get(), bytes + done, wanted - done, at);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace velmora::discburn
