#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace velmora::front {

// SIGINT, SIGTERM and SIGHUP (Ctrl-C, a shutdown, a closed terminal) as a call on the UI thread,
// so that a running job is cancelled and cleans up instead of dying with the process. One at a
// time; the signals' default handling comes back when it goes.
class EndRequests : public QObject {
public:
    explicit EndRequests(std::function<void()> onRequest);
    ~EndRequests() override;
    EndRequests(const EndRequests&) = delete;
    EndRequests& operator=(const EndRequests&) = delete;

    // Whether the signals are caught; false when the pipe they go through cannot be made.
    bool Catching() const { return notifier_ != nullptr; }

private:
    void Drain();

    std::function<void()> onRequest_;
    int readEnd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace velmora::front
