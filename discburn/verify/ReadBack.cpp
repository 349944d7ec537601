#include "ReadBack.h"

#include "files/FileDescriptor.h"
#include "log/Log.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace velmora::discburn {
namespace {

constexpr std::uint64_t kSectorBytes = 2352;
// Whole data blocks (2048 bytes) and whole audio sectors.
constexpr std::size_t kPieceBytes = 2048 * 147 * 4;
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

std::string TrackFailure(const char* what, std::size_t index, HResult hr)
{
    return WithCode(("Verification failed! Track " + std::to_string(index + 1) + " " + what + " Error:0x%08x").c_str(), hr);
}

class VerifyProgress {
public:
    VerifyProgress(BurnWindow& window, int action, int trackCount, std::uint64_t total)
        : window_(window), action_(action), trackCount_(trackCount), total_(total)
    {
    }
    // False when the window asks to stop.
    bool Report(int track, std::uint64_t done, bool now)
    {
        const auto time = std::chrono::steady_clock::now();
        if (!now && time < next_) return true;
        next_ = time + kProgressInterval;
        return window_.SendProgress({action_, track, trackCount_, done, total_}) != 0;
    }

private:
    BurnWindow& window_;
    int action_, trackCount_;
    std::uint64_t total_;
    std::chrono::steady_clock::time_point next_{};
};

}  // namespace

MediaReader DataReader(HeldDrive& drive)
{
    return [&drive](std::uint64_t offset, unsigned char* buffer, std::size_t size) {
        return drive.ReadData(offset, buffer, size);
    };
}

std::optional<std::int64_t> FindAudioShift(const std::vector<unsigned char>& readBack, std::size_t writtenAt,
                                           const std::vector<unsigned char>& written)
{
    if (written.empty() || readBack.size() < written.size()) return std::nullopt;
    // Nearest first, so that the smallest shift wins when the sound repeats.
    const auto last = static_cast<std::int64_t>(readBack.size() - written.size());
    const auto place = static_cast<std::int64_t>(writtenAt);
    for (std::int64_t distance = 0; distance <= std::max(place, last - place); distance += 4) {
        for (const std::int64_t at : {place - distance, place + distance}) {
            if (at >= 0 && at <= last && std::equal(written.begin(), written.end(), readBack.begin() + at))
                return at - place;
        }
    }
    return std::nullopt;
}

MediaReader AudioReader(HeldDrive& drive)
{
    return [&drive, sectors = std::vector<unsigned char>()](std::uint64_t offset, unsigned char* buffer,
                                                            std::size_t size) mutable {
        const std::uint64_t first = offset / kSectorBytes, skip = offset % kSectorBytes;
        const std::size_t count = (skip + size + kSectorBytes - 1) / kSectorBytes;
        sectors.resize(count * kSectorBytes);
        if (!drive.ReadAudio(first, sectors.data(), count)) return false;
        std::copy_n(sectors.begin() + static_cast<std::ptrdiff_t>(skip), size, buffer);
        return true;
    };
}

MediaReader FileReader(const std::filesystem::path& file)
{
    auto opened = std::make_shared<platform::FileDescriptor>(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!opened->valid()) LogMessage(1, "%s cannot be read back", file.c_str());
    return [opened](std::uint64_t offset, unsigned char* buffer, std::size_t size) {
        for (std::size_t done = 0; done < size;) {
            const ssize_t read = ::pread(opened->get(), buffer + done, size - done, static_cast<off_t>(offset + done));
            if (read < 0 && errno == EINTR) continue;
            if (read <= 0) return false;
            done += static_cast<std::size_t>(read);
        }
        return true;
    };
}

HResult VerifyTracks(const std::vector<TrackOnMedia>& tracks, const MediaReader& read, BurnWindow& window, int action,
                     std::string& failure)
{
    std::uint64_t total = 0;
    for (const auto& track : tracks) total += track.written.bytes;
    VerifyProgress progress(window, action, static_cast<int>(tracks.size()), total);
    std::vector<unsigned char> piece(kPieceBytes);
    std::uint64_t checked = 0;
    for (std::size_t index = 0; index < tracks.size(); ++index) {
        const TrackOnMedia& track = tracks[index];
        const int number = static_cast<int>(index + 1);
        if (!progress.Report(number, checked, true)) return kCancelled;
        Sha256 hash;
        for (std::uint64_t done = 0; done < track.written.bytes;) {
            const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), track.written.bytes - done));
            if (!read(track.offset + done, piece.data(), size)) {
                failure = TrackFailure("could not be read back.", index, kReadBackFailed);
                return kReadBackFailed;
            }
            hash.Add(piece.data(), size);
            done += size;
            checked += size;
            if (!progress.Report(number, checked, false)) return kCancelled;
        }
        if (hash.Finish() != track.written.sha256) {
            failure = TrackFailure("does not hold what was written.", index, kVerifyMismatch);
            return kVerifyMismatch;
        }
    }
    progress.Report(static_cast<int>(tracks.size()), checked, true);
    return kOk;
}

}  // namespace velmora::discburn
