#pragma once

#include <QPixmap>
#include <QSize>

class QPainter;

namespace velmora::front {

// Our own pictures for the bitmap buttons (by control ID) and the welcome background, painted
// at start-up so that they scale with the screen.
QPixmap ButtonImage(int controlId, QSize size);
// The same picture on any paint device (an SVG or PNG file for the program's icon).
void PaintButtonImage(QPainter& painter, int controlId, QSizeF size);
QPixmap BackgroundImage(QSize size);

}  // namespace velmora::front
