// Rips a 10-minute track from a disc image to WAV with Convert_CD_TO_MP3 and with cd-paranoia -w
// in the same paranoia mode, in turns, and prints both speeds as multiples of real time.

#include "BenchSupport.h"
#include "CdImage.h"
#include "Lumetra.h"
#include "ScratchFolder.h"
#include "paths/ToolLocator.h"
#include "process/Process.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kTrackSeconds = 600;
constexpr int kRounds = 3;

}  // namespace

int main()
{
    const velmora::bench::Workspace workspace;
    const std::filesystem::path& folder = workspace.path();
    ::setenv("TMPDIR", folder.c_str(), 1);

    const auto disc = velmora::test::WriteCdImage(folder, "bench", {{5, 440}, {kTrackSeconds, 659.25}});
    ::setenv("VELMORA_DRIVES", ("B=" + disc.cue.string()).c_str(), 1);
    const auto paranoia = velmora::platform::FindTool("cd-paranoia");
    if (paranoia.empty()) {
        std::printf("cd-paranoia: not found on PATH (Debian package cd-paranoia); no comparison\n");
        return 1;
    }

    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    std::snprintf(request.szSourceFile, sizeof request.szSourceFile, "B:2");
    std::snprintf(request.szOutputFile, sizeof request.szOutputFile, "%s", (folder / "ours.wav").c_str());
    request.nOutputFormat = MediaLibrary::Header::kFormatWav;
    // cd-paranoia's default mode is ours: full paranoia, skipping allowed after retries.
    const std::vector<std::string> command{paranoia.string(), "-q", "-w", "-d", disc.cue.string(), "2",
                                           (folder / "theirs.wav").string()};
    bool failed = false;
    const auto seconds = velmora::bench::FastestSeconds(
        kRounds, {[&] { failed |= Convert_CD_TO_MP3(request) != 0; },
                  [&] { failed |= velmora::platform::RunAndWait(command).exitStatus != 0; }});
    if (failed) {
        std::printf("a rip failed: %s\n", GetLastFailure());
        return 1;
    }
    // Both did the same work only when both hold the track's samples.
    const auto ours = velmora::test::ReadFile(folder / "ours.wav");
    const auto theirs = velmora::test::ReadFile(folder / "theirs.wav");
    if (ours.size() < 44 || ours.substr(44) != disc.tracks[1] || theirs.size() < 44 || theirs.substr(44) != disc.tracks[1]) {
        std::printf("the two WAV files do not both hold the track's samples\n");
        return 1;
    }
    std::printf("Convert_CD_TO_MP3 (WAV): %6.1f x real time (%.3f s for %d s)\n", kTrackSeconds / seconds[0],
                seconds[0], kTrackSeconds);
    std::printf("cd-paranoia -w:          %6.1f x real time (%.3f s)\n", kTrackSeconds / seconds[1], seconds[1]);
    std::printf("speed ratio (ours / cd-paranoia): %.2f (best of %d each, in turns)\n", seconds[1] / seconds[0],
                kRounds);
    return 0;
}
