#pragma once

#include "Lumetra.h"

#include <optional>
#include <string>
#include <vector>

namespace lumetra::cli {

enum class Action { Probe, Convert, Thumbnail, Join, DvdFiles, Mp3ToWav, WavToMp3, CdTracks, CdRip, Cddb, Rip, Help, Version };

struct Options {
    Action action = Action::Probe;
    std::string target;                               // avi, mpg, ... for convert and join
    MediaLibrary::Header::MEDIACONVERSIONINFO request; // quality fields and paths
    std::string input;                                // the file read: probed, converted, pictured, authored
    std::vector<std::string> joinList;                // join: the files to join, in order
    std::string position = "0";                       // thumbnail: start time
    std::string picture;                              // thumbnail: the PNG to write
    char drive = 0;                                   // cd-tracks, cddb, rip: the drive letter
    int match = 0;                                    // cddb, rip: the match chosen, from 1; 0 when none is
    std::string folder;                               // rip: where the tracks go
    bool verbose = false;                             // -v: the library's log on standard error too
};

struct ParseResult {
    std::optional<Options> options;
    std::string error;   // why the words do not make a command
};

ParseResult ParseArguments(const std::vector<std::string>& words);
std::string Usage();

}  // namespace lumetra::cli
