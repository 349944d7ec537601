#pragma once

#include "process/EndSignals.h"

#include <thread>

namespace lumetra::cli {

// Turns an interrupt (Ctrl-C, SIGTERM, a closed terminal) into a cancel of the library's work, so
// that the library stops its tools and removes their unfinished outputs instead of the process
// dying with them half written. From the first interrupt on it cancels again every tenth of a
// second, since a tool may start after it, until it goes.
class InterruptCanceller {
public:
    InterruptCanceller();
    ~InterruptCanceller();
    InterruptCanceller(const InterruptCanceller&) = delete;
    InterruptCanceller& operator=(const InterruptCanceller&) = delete;

    // Whether an interrupt came.
    static bool Interrupted() { return velmora::platform::EndSignals::Received(); }

private:
    void Watch();

    velmora::platform::EndSignals signals_;
    velmora::platform::FileDescriptor stopRead_, stopWrite_;   // wakes the watcher when it is to end
    std::thread watcher_;
};

}  // namespace lumetra::cli
