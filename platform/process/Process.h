#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velmora::platform {

struct SpawnOptions {
    // Where the child's standard error goes; empty: kept in a private scratch file whose tail
    // is returned when the child fails.
    std::filesystem::path stderrFile;
    // Added to the caller's environment, as NAME=value.
    std::vector<std::string> extraEnvironment;
};

struct ProcessOutcome {
    bool started = false;
    int exitStatus = -1;        // the exit code, or 128 + signal
    std::string failure;        // why it did not start
    std::string errorTail;      // the last lines the child wrote to standard error, when it failed
};

// Starts arguments[0] (a path, never looked up, never given to a shell) with the other words as
// its arguments, standard input from /dev/null and standard output discarded, and waits for it.
ProcessOutcome RunAndWait(const std::vector<std::string>& arguments, const SpawnOptions& options = {});

}  // namespace velmora::platform
