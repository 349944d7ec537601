#pragma once

#include "ScratchFolder.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velmora::bench {

// A scratch folder for one benchmark run, removed afterwards.
using Workspace = test::ScratchFolder;

// ffmpeg (from PATH) with the given arguments, standard streams closed; true on exit status 0.
bool RunTool(const std::string& tool, const std::vector<std::string>& arguments);
bool MakeClip(const std::filesystem::path& file, int seconds, const std::string& size);

// Wall-clock seconds of the fastest of `rounds` runs of each piece of work. The pieces take turns
// within each round, so a busy spell of the machine weighs on all of them alike.
std::vector<double> FastestSeconds(int rounds, const std::vector<std::function<void()>>& works);

}  // namespace velmora::bench
