#pragma once

#include "process/EndSignals.h"

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace velmora::front {

// SIGINT, SIGTERM and SIGHUP (Ctrl-C, a shutdown, a closed terminal) as a call on the UI thread,
// so that a running job is cancelled and cleans up instead of dying with the process.
class EndRequests : public QObject {
public:
    explicit EndRequests(std::function<void()> onRequest);
    ~EndRequests() override;

    bool Catching() const { return signals_.Catching(); }

private:
    void Drain();

    std::function<void()> onRequest_;
    platform::EndSignals signals_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace velmora::front
