#include "EndRequests.h"

#include "log/Log.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace velmora::front {
namespace {

constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};

int writeEnd = -1;

// Only what is safe in a signal handler: a byte into the pipe.
void OnEndSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(writeEnd, &byte, 1);
}

void HandleEndSignals(void (*handler)(int))
{
    struct sigaction action{};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndSignals) sigaction(signal, &action, nullptr);
}

}  // namespace

EndRequests::EndRequests(std::function<void()> onRequest) : onRequest_(std::move(onRequest))
{
    int ends[2];
    if (writeEnd >= 0 || ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        LogMessage(1, "Interrupts end the program at once: they cannot be caught");
        return;
    }
    readEnd_ = ends[0];
    writeEnd = ends[1];
    notifier_ = std::make_unique<QSocketNotifier>(readEnd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &EndRequests::Drain);
    HandleEndSignals(OnEndSignal);
}

EndRequests::~EndRequests()
{
    if (!notifier_) return;
    HandleEndSignals(SIG_DFL);
    notifier_.reset();
    ::close(readEnd_);
    ::close(writeEnd);
    writeEnd = -1;
}

void EndRequests::Drain()
{
    char bytes[64];
    bool asked = false;
    while (::read(readEnd_, bytes, sizeof bytes) > 0) asked = true;
    if (!asked) return;
    LogMessage(2, "Asked to end: the running job is cancelled and the window closed");
    onRequest_();
}

}  // namespace velmora::front
