#include "EndSignals.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>

namespace velmora::platform {
namespace {

constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<bool> received{false};
int writeEnd = -1;   // set before the handler is installed, cleared after it is gone

void OnEndSignal(int signal)
{
    // A second one means it: the program ends at once, as if it had never been caught.
    if (received.exchange(true)) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(writeEnd, &byte, 1);
}

// Signals the program was started with ignored stay ignored.
void CatchUnlessIgnored()
{
    for (const int signal : kEndSignals) {
        struct sigaction now{};
        if (sigaction(signal, nullptr, &now) != 0 || now.sa_handler == SIG_IGN) continue;
        struct sigaction action{};
        action.sa_handler = OnEndSignal;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
}

}  // namespace

EndSignals::EndSignals()
{
    if (writeEnd >= 0) return;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
    readEnd_.reset(ends[0]);
    writeEnd = ends[1];
    CatchUnlessIgnored();
}

EndSignals::~EndSignals()
{
    if (!Catching()) return;
    for (const int signal : kEndSignals) {
        struct sigaction now{};
        if (sigaction(signal, nullptr, &now) == 0 && now.sa_handler == OnEndSignal) std::signal(signal, SIG_DFL);
    }
    ::close(writeEnd);
    writeEnd = -1;
}

bool EndSignals::Received()
{
    return received;
}

}  // namespace velmora::platform
