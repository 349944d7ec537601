#include "MediaProber.h"

#include "core/LumetraBinding.h"

#include <QMetaObject>
#include <QPointer>
#include <QRunnable>

namespace velmora::front {
namespace {

ProbeResult Measure(const std::string& path)
{
    ProbeResult result;
    char playLength[20] = "";
    const auto facts = Lumetra().GetMediaFacts();
    result.media = facts && facts(path.c_str(), &result.facts, playLength) != 0;
    result.playLength = playLength;
    if (!result.media) result.reason = LastLibraryFailure();
    if (!result.media && result.reason.empty()) result.reason = "it is not a media file";
    return result;
}

}  // namespace

MediaProber::MediaProber(QObject* parent) : QObject(parent)
{
    pool_.setMaxThreadCount(QThread::idealThreadCount());
}

MediaProber::~MediaProber()
{
    pool_.waitForDone();
}

void MediaProber::Probe(const std::string& path, std::function<void(const ProbeResult&)> answer)
{
    ++pending_;
    QPointer<MediaProber> self(this);
    pool_.start([self, path, answer = std::move(answer)] {
        ProbeResult result = Measure(path);
        QMetaObject::invokeMethod(
            self.data(),
            [self, answer, result = std::move(result)] {
                if (!self) return;
                --self->pending_;
                answer(result);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace velmora::front
