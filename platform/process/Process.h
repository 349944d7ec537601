#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

struct SpawnOptions {
    // Where the child's standard error goes; empty: kept in a private scratch file whose tail
    // is returned when the child fails.
    std::filesystem::path stderrFile{};
    // Added to the caller's environment, as NAME=value.
    std::vector<std::string> extraEnvironment{};
    // A descriptor of ours that the child gets as its descriptor 3, so that it can be handed a
    // file as /dev/fd/3 instead of by a name it would repeat.
    int inheritedAsDescriptor3 = -1;
    // Standard error kept whole, up to this many bytes, in ProcessOutcome::errorText.
    std::size_t keptErrorBytes = 0;
    // The child is killed when it runs longer.
    std::optional<std::chrono::milliseconds> timeout{};
    // Called now and then while the child runs, with what it wrote to standard error since the
    // last call (kept in memory only).
    std::function<void(std::string_view written)> watchErrors{};
};

struct ProcessOutcome {
    bool started = false;
    int exitStatus = -1;        // the exit code, or 128 + signal
    std::string failure;        // why it did not start
    std::string errorTail;      // the last lines the child wrote to standard error, when it failed
    std::string errorText;      // standard error from its start, with keptErrorBytes
    bool timedOut = false;      // killed after the time-out
    bool cancelled = false;     // ended by CancelRunningChildren
};

// Starts arguments[0] (a path, never looked up, never given to a shell) with the other words as
// its arguments, standard input from /dev/null and standard output discarded, and waits for it.
ProcessOutcome RunAndWait(const std::vector<std::string>& arguments, const SpawnOptions& options = {});

// Ends every child that RunAndWait waits for in this process: asked to stop, then killed when it
// has not after a few seconds. Only children this process started are touched.
void CancelRunningChildren();

}  // namespace velmora::platform
