#include "AudioDiscCopy.h"

#include "drives/CdDevice.h"
#include "drives/CdToc.h"
#include "drives/DriveTable.h"
#include "log/Log.h"
#include "mastering/TimeLeft.h"

#include <cdio/cdio.h>
#include <cdio/cdtext.h>

#include <chrono>
#include <future>

namespace velmora::discburn {
namespace {

using MediaLibrary::Header::RIP_TRACK_REPORT;

constexpr auto kProgressInterval = std::chrono::milliseconds(250);
constexpr double kBytesPerSecond = platform::kFramesPerSecond * platform::kAudioSectorBytes;

struct SourceTrack {
    int number = 0;
    std::uint64_t bytes = 0;
};

std::string CdTextField(const cdtext_t* text, cdtext_field_t field, track_t track)
{
    const char* value = cdtext_get_const(text, field, track);
    return value ? value : "";
}

// The CD-TEXT of the disc in the drive for its audio tracks; empty texts when it has none.
DiscText ReadDiscText(const platform::Drive& drive, const std::vector<SourceTrack>& tracks)
{
    DiscText text;
    text.tracks.resize(tracks.size());
    const auto device = platform::CdDevice::Open(drive);
    const cdtext_t* cdText = device ? cdio_get_cdtext(device->Native()) : nullptr;
    if (!cdText) return text;
    text.title = CdTextField(cdText, CDTEXT_FIELD_TITLE, 0);
    text.performer = CdTextField(cdText, CDTEXT_FIELD_PERFORMER, 0);
    for (std::size_t at = 0; at < tracks.size(); ++at) {
        const auto number = static_cast<track_t>(tracks[at].number);
        text.tracks[at] = {CdTextField(cdText, CDTEXT_FIELD_TITLE, number), CdTextField(cdText, CDTEXT_FIELD_PERFORMER, number)};
    }
    return text;
}

// One disc rip of the library, ended (its log written) when it goes.
class LibraryRip {
public:
    LibraryRip(const DiscRipFunctions& rip, LumetraDiscRip* opened) : rip_(rip), opened_(opened) {}
    ~LibraryRip()
    {
        if (opened_) rip_.end(opened_, nullptr, 0);
    }
    LibraryRip(const LibraryRip&) = delete;
    LibraryRip& operator=(const LibraryRip&) = delete;

    // Rips the track while the window sees its progress and may cancel it; the library's reason
    // when it was not ripped exactly.
    std::string RipTrack(int position, int count, const SourceTrack& track, RIP_TRACK_REPORT& report,
                         BurnWindow& window)
    {
        auto running = std::async(std::launch::async, [this, &track, &report] {
            return rip_.ripTrack(opened_, track.number, &report) == 0 ? std::string() : std::string(rip_.lastFailure());
        });
        TimeLeft timeLeft;
        bool cancelled = false;
        do {
            const auto done = std::min(track.bytes, static_cast<std::uint64_t>(rip_.encodedSeconds() * kBytesPerSecond));
            const WriteProgress progress{kAudioReading, position, count, done, track.bytes,
                                         timeLeft.Seconds(done, track.bytes)};
            if (!cancelled && window.SendProgress(progress) == 0) {
                rip_.cancel();
                cancelled = true;
            }
        } while (running.wait_for(kProgressInterval) == std::future_status::timeout);
        return running.get();
    }

private:
    const DiscRipFunctions& rip_;
    LumetraDiscRip* opened_;
};

std::optional<AudioDisc> Failed(BurnWindow& window, HResult hr, const std::string& why)
{
    LogMessage(1, "Audio CD copy failed: %s", why.c_str());
    window.SendResult(hr, "The audio CD was not copied: " + why);
    return std::nullopt;
}

}  // namespace

std::optional<AudioDisc> RipAudioDisc(const platform::Drive& drive, const std::filesystem::path& folder,
                                      const DiscRipFunctions& rip, BurnWindow& window)
{
    std::vector<SourceTrack> tracks;
    for (const auto& place : platform::AudioTracksOf(drive))
        tracks.push_back({place.number, static_cast<std::uint64_t>(std::max(place.lengthSectors, 0)) * kCdSectorBytes});
    if (tracks.empty()) return Failed(window, kNoMedia, "the drive holds no audio CD");
    AudioDisc disc{.tracks = {}, .text = ReadDiscText(drive, tracks)};

    LumetraDiscRip* begun = rip.beginWav(drive.letter, folder.c_str());
    if (!begun) return Failed(window, kNoMedia, rip.lastFailure());
    LibraryRip opened(rip, begun);
    const int count = static_cast<int>(tracks.size());
    for (int position = 1; position <= count; ++position) {
        const SourceTrack& track = tracks[static_cast<std::size_t>(position - 1)];
        RIP_TRACK_REPORT report;
        const std::string reason = opened.RipTrack(position, count, track, report, window);
        if (window.IsCancelRequested()) {
            window.SendResult(kOk, "User Canceled!");
            return std::nullopt;
        }
        if (!reason.empty()) return Failed(window, kNoMedia, "track " + std::to_string(track.number) + ": " + reason);
        const auto ripped = TrackOfCdWave(report.szOutputFile);
        if (!ripped || ripped->length != track.bytes)
            return Failed(window, kFileError, "track " + std::to_string(track.number) + " was not ripped whole");
        disc.tracks.push_back(*ripped);
        window.SendProgress({kAudioReading, position, count, track.bytes, track.bytes, 0});
    }
    return disc;
}

}  // namespace velmora::discburn
