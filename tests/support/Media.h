#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::test {

// Runs the real ffmpeg from PATH (standard input closed) and reports whether it succeeded.
bool RunFfmpeg(const std::vector<std::string>& arguments);

// A clip from ffmpeg's synthetic sources: test picture and a sine tone.
bool MakeClip(const std::filesystem::path& file, double seconds, int width = 320, int height = 240,
              int sampleRate = 44100);
// A stereo sine tone at 44.1 kHz, in the format the file's name asks for.
bool MakeTone(const std::filesystem::path& file, double seconds);

// ffmpeg's own description of a file (its report on standard error).
std::string DescribeWithFfmpeg(const std::filesystem::path& file);
// The duration in that description, in seconds; -1 without one.
double DurationSeconds(const std::filesystem::path& file);

}  // namespace velmora::test
