#include "MediaProber.h"

#include "Entries.h"
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
    Answer<ProbeResult>([path] { return Measure(path); }, std::move(answer));
}

void MediaProber::ReadFolder(const std::string& path, std::function<void(const FolderRead&)> answer)
{
    Answer<FolderRead>(
        [path] {
            auto folder = std::make_shared<CDirObject>(path);
            const std::int64_t size = folder->GetDiscSize();
            return FolderRead{std::move(folder), size};
        },
        std::move(answer));
}

template <typename Result>
void MediaProber::Answer(std::function<Result()> work, std::function<void(const Result&)> answer)
{
    ++pending_;
    QPointer<MediaProber> self(this);
    pool_.start([self, work = std::move(work), answer = std::move(answer)] {
        Result result = work();
        QMetaObject::invokeMethod(
            self.data(),
            [self, answer, result = std::move(result)] {
                if (!self) return;
                --self->pending_;
                answer(result);
                if (self && !self->Busy()) emit self->Settled();
            },
            Qt::QueuedConnection);
    });
}

}  // namespace velmora::front
