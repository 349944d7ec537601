// Play length of 50 small files: GetPlayLength against ffprobe and a bare "ffmpeg -i".
// Starting the encoder dominates all three; the figure that matters is our overhead over "ffmpeg -i".

#include "BenchSupport.h"
#include "Lumetra.h"

#include <cstdio>

int main()
{
    using namespace velmora::bench;
    constexpr int kFiles = 50;
    constexpr int kRounds = 3;
    Workspace workspace;
    std::vector<std::filesystem::path> files;
    for (int i = 0; i < kFiles; ++i) {
        files.push_back(workspace.path() / ("clip" + std::to_string(i) + ".avi"));
        if (!MakeClip(files.back(), 1, "64x48")) {
            std::fprintf(stderr, "cannot make the clips (is ffmpeg installed?)\n");
            return 1;
        }
    }

    const auto seconds = FastestSeconds(kRounds, {
        [&] {
            for (const auto& file : files) {
                char length[20] = "";
                GetPlayLength(file.c_str(), length);
            }
        },
        [&] {
            for (const auto& file : files)
                RunTool("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", file.string()});
        },
        [&] {
            for (const auto& file : files) RunTool("ffmpeg", {"-hide_banner", "-i", file.string()});
        }});
    const double library = seconds[0], ffprobe = seconds[1], bare = seconds[2];

    std::printf("play length of %d files (fastest of %d rounds)\n", kFiles, kRounds);
    std::printf("  GetPlayLength   %8.2f ms per file\n", 1000 * library / kFiles);
    std::printf("  ffprobe         %8.2f ms per file\n", 1000 * ffprobe / kFiles);
    std::printf("  ffmpeg -i       %8.2f ms per file\n", 1000 * bare / kFiles);
    std::printf("  overhead over ffmpeg -i: %+.1f%% (target: under 10%%)\n", 100 * (library / bare - 1));
    return 0;
}
