#include "EndRequests.h"

#include "log/Log.h"

#include <QSocketNotifier>

#include <unistd.h>

namespace velmora::front {

EndRequests::EndRequests(std::function<void()> onRequest) : onRequest_(std::move(onRequest))
{
    if (!signals_.Catching()) {
        LogMessage(1, "Interrupts end the program at once: they cannot be caught");
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(signals_.ReadEnd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &EndRequests::Drain);
}

// The notifier goes before the descriptor it watches.
EndRequests::~EndRequests() = default;

void EndRequests::Drain()
{
    char bytes[64];
    bool asked = false;
    while (::read(signals_.ReadEnd(), bytes, sizeof bytes) > 0) asked = true;
    if (!asked) return;
    LogMessage(2, "Asked to end: the running job is cancelled and the window closed");
    onRequest_();
}

}  // namespace velmora::front
