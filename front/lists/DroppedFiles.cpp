#include "DroppedFiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace velmora::front {
namespace {

QStringList DroppedLocalFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    return files;
}

}  // namespace

void AnswerDrag(QDragMoveEvent* event, bool acceptsDrops)
{
    if (acceptsDrops && event->mimeData()->hasUrls()) event->acceptProposedAction();
    else event->ignore();
}

QStringList TakeDroppedFiles(QDropEvent* event, bool acceptsDrops)
{
    if (!acceptsDrops) {
        event->ignore();
        return {};
    }
    event->acceptProposedAction();
    return DroppedLocalFiles(event->mimeData());
}

}  // namespace velmora::front
