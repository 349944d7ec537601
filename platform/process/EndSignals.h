#pragma once

#include "files/FileDescriptor.h"

namespace velmora::platform {

// SIGINT, SIGTERM and SIGHUP, the ways a user or the system asks a program to end, caught so that
// the program can cancel its work and clean up instead of dying with files half written. A signal
// handler may do very little: each signal becomes a flag and a byte in a pipe, for a thread or an
// event loop to wait on; a second signal ends the program at once, for work that cannot stop.
// Signals the program was started with ignored (nohup, a script's background job) stay ignored.
// One at a time; their default handling comes back when it goes.
class EndSignals {
public:
    EndSignals();
    ~EndSignals();
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    // False when the pipe cannot be made or another EndSignals catches them already.
    bool Catching() const { return readEnd_.valid(); }
    // Readable once a signal came; non-blocking.
    int ReadEnd() const { return readEnd_.get(); }
    // Whether a signal came since the start.
    static bool Received();

private:
    FileDescriptor readEnd_;
};

}  // namespace velmora::platform
