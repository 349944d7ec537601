#pragma once

#include "Lumetra.h"

#include <optional>
#include <string>
#include <vector>

namespace lumetra::cli {

enum class Action { Probe, Convert, CdTracks, CdRip };

struct Options {
    Action action = Action::Probe;
    std::string target;                               // avi, mpg, ... for convert
    MediaLibrary::Header::MEDIACONVERSIONINFO request; // quality fields and paths
    std::string input;
    char drive = 0;                                   // for cd-tracks
};

struct ParseResult {
    std::optional<Options> options;
    std::string error;   // why the words do not make a command
};

ParseResult ParseArguments(const std::vector<std::string>& words);
std::string Usage();

}  // namespace lumetra::cli
