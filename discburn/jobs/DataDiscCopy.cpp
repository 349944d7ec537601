#include "DataDiscCopy.h"

#include "DataTrackReader.h"
#include "files/PendingFile.h"
#include "image/ImageBuilder.h"
#include "image/ImageFile.h"
#include "log/Log.h"
#include "mastering/TimeLeft.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace velmora::discburn {
namespace {

constexpr std::uint32_t kSectorsPerRead = 32;
constexpr int kRetriesPerSector = 3;
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

HResult Failed(BurnWindow& window, HResult hr, const std::string& why)
{
    LogMessage(1, "Disc copy failed: %s", why.c_str());
    window.SendResult(hr, "The disc was not copied: " + why);
    return hr;
}

// The track's sectors into the file, in order.
class SectorCopy {
public:
    SectorCopy(const DataTrackReader& reader, platform::PendingFile& file, BurnWindow& window)
        : reader_(reader), file_(file), window_(window), buffer_(kSectorsPerRead * kDataSectorBytes)
    {
    }

    // kOk, kCancelled or a failure with its reason in Reason().
    HResult Run()
    {
        // Sectors past the file system may be unreadable run-out; the image ends at the first of them.
        const std::uint32_t needed = reader_.VolumeSectors() > 0 && reader_.VolumeSectors() <= reader_.TrackSectors()
                                         ? reader_.VolumeSectors()
                                         : reader_.TrackSectors();
        std::uint32_t at = 0;
        while (at < reader_.TrackSectors()) {
            if (!KeepGoing(at)) return kCancelled;
            const std::uint32_t count = std::min(kSectorsPerRead, reader_.TrackSectors() - at);
            const std::uint32_t got = ReadSectors(at, count);
            if (got < count && at + got < needed) {
                reason_ = "sector " + std::to_string(at + got) + " of the disc cannot be read";
                return kFileError;
            }
            if (got > 0 && !file_.Write(buffer_.data(), std::size_t{got} * kDataSectorBytes)) {
                reason_ = file_.Failure();
                return kFileError;
            }
            at += got;
            if (got < count) break;
        }
        sectors_ = at;
        return kOk;
    }

    const std::string& Reason() const { return reason_; }
    std::uint32_t Sectors() const { return sectors_; }

private:
    // The sectors read into the buffer from the first on: all, or those before the first one
    // that did not read after its retries.
    std::uint32_t ReadSectors(std::uint32_t first, std::uint32_t count)
    {
        if (reader_.Read(first, count, buffer_.data())) return count;
        for (std::uint32_t one = 0; one < count; ++one) {
            bool read = false;
            for (int attempt = 0; attempt < kRetriesPerSector && !read; ++attempt)
                read = reader_.Read(first + one, 1, &buffer_[std::size_t{one} * kDataSectorBytes]);
            if (!read) return one;
        }
        return count;
    }

    bool KeepGoing(std::uint32_t sectorsDone)
    {
        const auto now = std::chrono::steady_clock::now();
        if (sectorsDone > 0 && now < nextProgress_) return !window_.IsCancelRequested();
        nextProgress_ = now + kProgressInterval;
        const std::uint64_t done = std::uint64_t{sectorsDone} * kDataSectorBytes;
        const std::uint64_t total = std::uint64_t{reader_.TrackSectors()} * kDataSectorBytes;
        return window_.SendProgress({kReadingDisc, 0, 0, done, total, timeLeft_.Seconds(done, total)}) != 0;
    }

    const DataTrackReader& reader_;
    platform::PendingFile& file_;
    BurnWindow& window_;
    std::vector<unsigned char> buffer_;
    std::chrono::steady_clock::time_point nextProgress_{};
    TimeLeft timeLeft_;
    std::string reason_;
    std::uint32_t sectors_ = 0;
};

HResult CopySectors(const platform::Drive& drive, platform::PendingFile& file, BurnWindow& window)
{
    std::string problem;
    const auto reader = DataTrackReader::Open(drive, problem);
    if (!reader) return Failed(window, kNoMedia, problem);
    SectorCopy copy(*reader, file, window);
    const HResult hr = copy.Run();
    if (hr == kCancelled) return hr;
    if (hr < 0) return Failed(window, hr, copy.Reason());
    if (copy.Sectors() == 0) return Failed(window, kNoMedia, "nothing on the disc could be read");
    const std::uint64_t bytes = std::uint64_t{copy.Sectors()} * kDataSectorBytes;
    window.SendProgress({kReadingDisc, 0, 0, bytes, bytes, 0});
    return kOk;
}

// A folder drive stands for a mounted disc: its copy is an image of its files.
HResult CopyFolder(const platform::Drive& drive, platform::PendingFile& file, BurnWindow& window)
{
    std::vector<ImageEntry> entries;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(drive.source, error))
        entries.push_back({item.path(), item.is_directory(error)});
    if (error || entries.empty()) return Failed(window, kNoMedia, "the folder " + drive.source.string() + " holds nothing");
    const auto image = BuildImage(window, entries);
    if (!image) return kImageBuildFailed;
    const HResult hr = WriteImageFile(*image, file, [&window](std::uint64_t) { return !window.IsCancelRequested(); });
    return hr == kFileError ? Failed(window, hr, "the image could not be written") : hr;
}

}  // namespace

HResult CopyDataDisc(const platform::Drive& drive, const std::filesystem::path& image, BurnWindow& window)
{
    platform::PendingFile file(image);
    if (!file.IsOpen()) return Failed(window, kFileError, file.Failure());
    const HResult hr = drive.kind == platform::DriveKind::Folder ? CopyFolder(drive, file, window)
                                                                 : CopySectors(drive, file, window);
    if (hr == kCancelled) window.SendResult(kOk, "User Canceled!");
    if (hr < 0) return hr;
    if (!file.Commit()) return Failed(window, kFileError, file.Failure());
    return kOk;
}

}  // namespace velmora::discburn
