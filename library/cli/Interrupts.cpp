#include "Interrupts.h"

#include "Lumetra.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>

namespace lumetra::cli {
namespace {

constexpr auto kCancelRepeat = std::chrono::milliseconds(100);

}  // namespace

InterruptCanceller::InterruptCanceller()
{
    int stop[2];
    if (!signals_.Catching() || ::pipe2(stop, O_CLOEXEC) != 0) return;
    stopRead_.reset(stop[0]);
    stopWrite_.reset(stop[1]);
    watcher_ = std::thread(&InterruptCanceller::Watch, this);
}

InterruptCanceller::~InterruptCanceller()
{
    if (!watcher_.joinable()) return;
    stopWrite_.reset();   // the watcher sees the pipe's end
    watcher_.join();
}

// Sleeps until an interrupt or the end; after an interrupt, cancels now and then until the end.
void InterruptCanceller::Watch()
{
    pollfd wakers[2] = {{stopRead_.get(), POLLIN, 0}, {signals_.ReadEnd(), POLLIN, 0}};
    for (;;) {
        const bool interrupted = Interrupted();
        if (interrupted) CancelConversions();
        // Once interrupted, only the end is waited for: the signal's byte stays readable.
        const int timeout = interrupted ? static_cast<int>(kCancelRepeat.count()) : -1;
        if (::poll(wakers, interrupted ? 1 : 2, timeout) > 0 && wakers[0].revents != 0) return;
    }
}

}  // namespace lumetra::cli
