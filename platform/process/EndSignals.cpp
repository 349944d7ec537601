#include "EndSignals.h"

#include <atomic>
#include <csignal>
#include <fcntl.h>

namespace velmora::platform {
namespace {

constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<bool> received{false};
std::atomic<int> writeEnd{-1};

void OnEndSignal(int)
{
    received = true;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(writeEnd, &byte, 1);
}

}  // namespace

EndSignals::EndSignals()
{
    int ends[2];
    if (writeEnd >= 0 || ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
    readEnd_.reset(ends[0]);
    writeEnd = ends[1];
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

EndSignals::~EndSignals()
{
    if (!Catching()) return;
    for (const int signal : kEndSignals) {
        struct sigaction now{};
        if (sigaction(signal, nullptr, &now) == 0 && now.sa_handler == OnEndSignal) std::signal(signal, SIG_DFL);
    }
    ::close(writeEnd.exchange(-1));
}

bool EndSignals::Received()
{
    return received;
}

}  // namespace velmora::platform
