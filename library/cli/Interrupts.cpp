#include "Interrupts.h"

#include "Lumetra.h"
#include "process/EndSignals.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <thread>

namespace lumetra::cli {
namespace {

constexpr auto kCancelRepeat = std::chrono::milliseconds(100);

// Waits for the first interrupt; then cancels again and again, since a tool may start after it.
void CancelWhenInterrupted(int signalled)
{
    pollfd readable{signalled, POLLIN, 0};
    while (::poll(&readable, 1, -1) < 0 && errno == EINTR) {
    }
    for (;;) {
        CancelConversions();
        std::this_thread::sleep_for(kCancelRepeat);
    }
}

}  // namespace

void CancelWorkOnInterrupt()
{
    // Kept for the life of the process: the thread that waits on it never ends.
    static const auto* signals = new velmora::platform::EndSignals;
    if (signals->Catching()) std::thread(CancelWhenInterrupted, signals->ReadEnd()).detach();
}

bool Interrupted()
{
    return velmora::platform::EndSignals::Received();
}

}  // namespace lumetra::cli
