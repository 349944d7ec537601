#include "Interrupts.h"

#include "Lumetra.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace lumetra::cli {
namespace {

constexpr auto kCancelRepeat = std::chrono::milliseconds(100);

std::atomic<bool> interrupted{false};
int wakeUp = -1;

// Only what is safe in a signal handler: a flag and a byte into the pipe.
void OnInterrupt(int)
{
    interrupted = true;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeUp, &byte, 1);
}

// Waits for the first interrupt; then cancels again and again, since a tool may start after it.
void CancelWhenWoken(int wakeUpRead)
{
    char byte = 0;
    while (::read(wakeUpRead, &byte, 1) < 0 && errno == EINTR) {
    }
    for (;;) {
        CancelConversions();
        std::this_thread::sleep_for(kCancelRepeat);
    }
}

}  // namespace

void CancelWorkOnInterrupt()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return;
    wakeUp = ends[1];
    std::thread(CancelWhenWoken, ends[0]).detach();
    struct sigaction action{};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool Interrupted()
{
    return interrupted;
}

}  // namespace lumetra::cli
