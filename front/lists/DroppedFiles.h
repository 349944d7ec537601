#pragma once

#include <QStringList>

class QDragMoveEvent;
class QDropEvent;

namespace velmora::front {

// Lets a drag of files over a list that takes drops go on; refuses anything else.
void AnswerDrag(QDragMoveEvent* event, bool acceptsDrops);
// The local files of a drop from the desktop's file manager, in drop order, on a list that takes
// drops (the drop accepted); none otherwise (refused).
QStringList TakeDroppedFiles(QDropEvent* event, bool acceptsDrops);

}  // namespace velmora::front
