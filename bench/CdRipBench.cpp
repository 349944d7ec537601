// Rips a 60 s track from a disc image with Convert_CD_TO_MP3 (WAV) and with cd-paranoia in the
// same paranoia mode, and prints both speeds as multiples of real time.

#include "BenchSupport.h"
#include "CdImage.h"
#include "Lumetra.h"
#include "paths/ToolLocator.h"
#include "process/Process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int kTrackSeconds = 60;
constexpr int kRounds = 3;

// The best of a few rounds, in seconds; negative when a round failed.
double BestTime(const std::function<bool()>& rip)
{
    double best = -1;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        if (!rip()) return -1;
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = best < 0 ? took.count() : std::min(best, took.count());
    }
    return best;
}

}  // namespace

int main()
{
    const velmora::bench::Workspace workspace;
    const std::filesystem::path& folder = workspace.path();
    ::setenv("TMPDIR", folder.c_str(), 1);

    const auto disc = velmora::test::WriteCdImage(folder, "bench", {{5, 440}, {kTrackSeconds, 659.25}});
    ::setenv("VELMORA_DRIVES", ("B=" + disc.cue.string()).c_str(), 1);

    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    std::snprintf(request.szSourceFile, sizeof request.szSourceFile, "B:2");
    std::snprintf(request.szOutputFile, sizeof request.szOutputFile, "%s", (folder / "track.wav").c_str());
    request.nOutputFormat = MediaLibrary::Header::kFormatWav;
    const double ours = BestTime([&] { return Convert_CD_TO_MP3(request) == 0; });
    if (ours < 0) {
        std::printf("Convert_CD_TO_MP3 failed; see the log\n");
        return 1;
    }
    std::printf("Convert_CD_TO_MP3 (WAV): %6.1f x real time (%.3f s for %d s)\n", kTrackSeconds / ours, ours,
                kTrackSeconds);

    const auto paranoia = velmora::platform::FindTool("cd-paranoia");
    if (paranoia.empty()) {
        std::printf("cd-paranoia: not found on PATH (Debian package cd-paranoia); no comparison\n");
    } else {
        // cd-paranoia's default mode is the same as ours: full paranoia, skipping allowed after retries.
        const std::vector<std::string> command{paranoia.string(), "-q", "-d", disc.cue.string(), "-r", "2",
                                               (folder / "track.raw").string()};
        const double theirs =
            BestTime([&] { return velmora::platform::RunAndWait(command).exitStatus == 0; });
        if (theirs < 0) {
            std::printf("cd-paranoia: failed on the image\n");
        } else {
            std::printf("cd-paranoia -r:          %6.1f x real time (%.3f s)\n", kTrackSeconds / theirs, theirs);
            std::printf("ratio (ours / theirs):   %6.2f\n", theirs / ours);
        }
    }
    return 0;
}
