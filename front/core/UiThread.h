#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <utility>

namespace velmora::front {

// Runs the call on the thread that owns `owner` (the UI thread, for a widget) and returns once
// it has run: at once on that thread, else through a blocking queued call that waits for it.
template <typename Call>
void RunOnThreadOf(QObject& owner, Call&& call)
{
    if (QThread::currentThread() == owner.thread()) call();
    else QMetaObject::invokeMethod(&owner, std::forward<Call>(call), Qt::BlockingQueuedConnection);
}

}  // namespace velmora::front
