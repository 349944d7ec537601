#pragma once

#include <QStringList>

class QMimeData;

namespace velmora::front {

// The local files of a drop from the desktop's file manager, in drop order.
QStringList DroppedLocalFiles(const QMimeData* data);

}  // namespace velmora::front
