#include "Media.h"

#include "ScratchFolder.h"
#include "paths/ToolLocator.h"
#include "process/Process.h"

#include <cstdio>

namespace velmora::test {

bool RunFfmpeg(const std::vector<std::string>& arguments)
{
    const auto ffmpeg = platform::FindTool("ffmpeg");
    if (ffmpeg.empty()) return false;
    std::vector<std::string> words{ffmpeg.string(), "-hide_banner", "-loglevel", "error", "-y"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const auto outcome = platform::RunAndWait(words);
    return outcome.started && outcome.exitStatus == 0;
}

bool MakeClip(const std::filesystem::path& file, double seconds, int width, int height, int sampleRate)
{
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    return RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=" + size + ":rate=25", "-f", "lavfi", "-i",
                      "sine=frequency=440:sample_rate=" + std::to_string(sampleRate), "-t", std::to_string(seconds),
                      "-c:v", "mpeg4", "-c:a", "pcm_s16le", file.string()});
}

bool MakeTone(const std::filesystem::path& file, double seconds)
{
    return RunFfmpeg({"-f", "lavfi", "-i", "sine=sample_rate=44100", "-t", std::to_string(seconds), "-ac", "2",
                      file.string()});
}

std::string DescribeWithFfmpeg(const std::filesystem::path& file)
{
    ScratchFolder scratch;
    const auto ffmpeg = platform::FindTool("ffmpeg");
    platform::SpawnOptions options;
    options.stderrFile = scratch / "report";
    platform::RunAndWait({ffmpeg.string(), "-hide_banner", "-i", file.string()}, options);
    return ReadFile(scratch / "report");
}

double DurationSeconds(const std::filesystem::path& file)
{
    const auto report = DescribeWithFfmpeg(file);
    const auto at = report.find("Duration: ");
    int hours = 0, minutes = 0, seconds = 0, hundredths = 0;
    if (at == std::string::npos ||
        std::sscanf(report.c_str() + at, "Duration: %d:%d:%d.%d", &hours, &minutes, &seconds, &hundredths) != 4)
        return -1;
    return hours * 3600 + minutes * 60 + seconds + hundredths / 100.0;
}

}  // namespace velmora::test
