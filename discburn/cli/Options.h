#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora::discburn::cli {

enum class Command { Recorders, Data, Iso, Audio, Copy, Help, Version };

struct Options {
    Command command = Command::Help;
    std::string recorder{};            // a drive letter as the window lists it, or stdio:/path, cue:/path
    std::vector<std::string> paths{};  // data: files and folders; iso: the image; audio: the files
    std::string drive{};               // copy: the drive holding the disc to copy
    std::string volume{};              // data: the volume name; empty for today's date
    bool verify = false;
};

struct ParseResult {
    std::optional<Options> options;
    std::string error;   // why the words do not make a command
};

ParseResult ParseArguments(const std::vector<std::string>& words);
std::string Usage();

}  // namespace velmora::discburn::cli
