#include "BenchSupport.h"

#include "paths/ToolLocator.h"
#include "process/Process.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace velmora::bench {

bool RunTool(const std::string& tool, const std::vector<std::string>& arguments)
{
    const auto program = platform::FindTool(tool);
    if (program.empty()) return false;
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const auto outcome = platform::RunAndWait(words);
    return outcome.started && outcome.exitStatus == 0;
}

bool MakeClip(const std::filesystem::path& file, int seconds, const std::string& size)
{
    return RunTool("ffmpeg", {"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                              "testsrc=size=" + size + ":rate=25", "-f", "lavfi", "-i",
                              "sine=frequency=440:sample_rate=44100", "-t", std::to_string(seconds), "-c:v",
                              "mpeg4", "-c:a", "pcm_s16le", file.string()});
}

std::vector<double> FastestSeconds(int rounds, const std::vector<std::function<void()>>& works)
{
    std::vector<double> best(works.size(), 1e300);
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t at = 0; at < works.size(); ++at) {
            const auto start = std::chrono::steady_clock::now();
            works[at]();
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best[at] = std::min(best[at], took.count());
        }
    }
    return best;
}

}  // namespace velmora::bench
