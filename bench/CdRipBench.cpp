// CD rips against cd-paranoia -w on the same BIN/CUE image, in the same paranoia mode, in turns,
// best of 3: a 10-minute track to WAV with Convert_CD_TO_MP3, and a whole disc of ten 1-minute
// tracks with the disc rip (named files, checksums, the AccurateRip look-up on a loopback server,
// the rip log) against cd-paranoia reading the whole disc into one WAV file.

#include "BenchSupport.h"
#include "CdImage.h"
#include "LoopbackHttpServer.h"
#include "Lumetra.h"
#include "ScratchFolder.h"
#include "paths/ToolLocator.h"
#include "process/Process.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kTrackSeconds = 600;
constexpr int kDiscTracks = 10;
constexpr int kDiscTrackSeconds = 60;
constexpr int kRounds = 3;

void Print(const char* what, const std::vector<double>& seconds, int audioSeconds)
{
    std::printf("%s\n", what);
    std::printf("  ours:           %6.1f x real time (%.3f s for %d s)\n", audioSeconds / seconds[0], seconds[0], audioSeconds);
    std::printf("  cd-paranoia -w: %6.1f x real time (%.3f s)\n", audioSeconds / seconds[1], seconds[1]);
    std::printf("  speed ratio (ours / cd-paranoia): %.2f (best of %d each, in turns)\n", seconds[1] / seconds[0], kRounds);
}

bool HoldsTrack(const fs::path& wav, const std::string& pcm)
{
    const auto bytes = velmora::test::ReadFile(wav);
    return bytes.size() == 44 + pcm.size() && bytes.compare(44, std::string::npos, pcm) == 0;
}

// One track to WAV, as the export does it.
bool SingleTrack(const fs::path& folder, const fs::path& paranoia)
{
    const auto disc = velmora::test::WriteCdImage(folder, "bench", {{5, 440}, {kTrackSeconds, 659.25}});
    ::setenv("VELMORA_DRIVES", ("B=" + disc.cue.string()).c_str(), 1);
    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    std::snprintf(request.szSourceFile, sizeof request.szSourceFile, "B:2");
    std::snprintf(request.szOutputFile, sizeof request.szOutputFile, "%s", (folder / "ours.wav").c_str());
    request.nOutputFormat = MediaLibrary::Header::kFormatWav;
    // cd-paranoia's default mode is ours: full paranoia.
    const std::vector<std::string> command{paranoia.string(), "-q", "-w", "-d", disc.cue.string(), "2",
                                           (folder / "theirs.wav").string()};
    bool failed = false;
    const auto seconds = velmora::bench::FastestSeconds(
        kRounds, {[&] { failed |= Convert_CD_TO_MP3(request) != 0; },
                  [&] { failed |= velmora::platform::RunAndWait(command).exitStatus != 0; }});
    if (failed) return std::printf("a rip failed: %s\n", GetLastFailure()), false;
    if (!HoldsTrack(folder / "ours.wav", disc.tracks[1]) || !HoldsTrack(folder / "theirs.wav", disc.tracks[1]))
        return std::printf("the two WAV files do not both hold the track's samples\n"), false;
    Print("One 10-minute track to WAV (Convert_CD_TO_MP3):", seconds, kTrackSeconds);
    return true;
}

// Every track of the disc through the disc rip, into a fresh folder each round.
bool RipDisc(const fs::path& folder, int round)
{
    const fs::path out = folder / ("disc-" + std::to_string(round));
    fs::create_directory(out);
    MediaLibrary::Header::MEDIACONVERSIONINFO quality;
    quality.nOutputFormat = MediaLibrary::Header::kFormatWav;
    LumetraDiscRip* rip = BeginDiscRip('W', out.c_str(), quality);
    if (!rip) return false;
    bool exact = true;
    for (int track = 1; track <= kDiscTracks; ++track) {
        MediaLibrary::Header::RIP_TRACK_REPORT report;
        exact &= RipDiscTrack(rip, track, &report) == 0;
    }
    return EndDiscRip(rip, nullptr, 0) == 0 && exact;
}

bool WholeDisc(const fs::path& folder, const fs::path& paranoia)
{
    std::vector<velmora::test::ImageTrack> tracks;
    for (int track = 0; track < kDiscTracks; ++track) tracks.push_back({kDiscTrackSeconds, 220.0 + 55 * track});
    const auto disc = velmora::test::WriteCdImage(folder, "album", tracks);
    ::setenv("VELMORA_DRIVES", ("W=" + disc.cue.string()).c_str(), 1);
    const velmora::test::LoopbackHttpServer database(
        [](const auto&) { return velmora::test::LoopbackHttpServer::Reply{"", 404}; });
    velmora::test::WriteFile(folder / "velmora.conf", "AccurateRipServer=" + database.address() + "\n");
    ::setenv("VELMORA_CONF", (folder / "velmora.conf").c_str(), 1);
    const std::vector<std::string> command{paranoia.string(), "-q", "-w", "-d", disc.cue.string(), "1-",
                                           (folder / "theirs.wav").string()};
    bool failed = false;
    int round = 0;
    const auto seconds = velmora::bench::FastestSeconds(
        kRounds, {[&] { failed |= !RipDisc(folder, round++); },
                  [&] { failed |= velmora::platform::RunAndWait(command).exitStatus != 0; }});
    if (failed) return std::printf("a disc rip failed: %s\n", GetLastFailure()), false;
    for (int track = 1; track <= kDiscTracks; ++track) {
        char name[32];
        std::snprintf(name, sizeof name, "Track%02d.wav", track);
        if (!HoldsTrack(folder / "disc-0" / name, disc.tracks[static_cast<std::size_t>(track - 1)]))
            return std::printf("%s does not hold its track's samples\n", name), false;
    }
    std::string all;
    for (const auto& pcm : disc.tracks) all += pcm;
    if (!HoldsTrack(folder / "theirs.wav", all)) return std::printf("cd-paranoia's WAV does not hold the disc\n"), false;
    Print("A disc of ten 1-minute tracks (BeginDiscRip/RipDiscTrack/EndDiscRip: WAV files, checksums, "
          "AccurateRip look-up, rip log):",
          seconds, kDiscTracks * kDiscTrackSeconds);
    return true;
}

}  // namespace

int main()
{
    const velmora::bench::Workspace workspace;
    const fs::path& folder = workspace.path();
    ::setenv("TMPDIR", folder.c_str(), 1);
    const auto paranoia = velmora::platform::FindTool("cd-paranoia");
    if (paranoia.empty()) {
        std::printf("cd-paranoia: not found on PATH (Debian package cd-paranoia); no comparison\n");
        return 1;
    }
    return SingleTrack(folder, paranoia) && WholeDisc(folder, paranoia) ? 0 : 1;
}
