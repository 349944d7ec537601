#pragma once

#include <QPixmap>
#include <QSize>

namespace velmora::front {

// Our own pictures for the bitmap buttons (by control ID) and the welcome background, painted
// at start-up so that they scale with the screen.
QPixmap ButtonImage(int controlId, QSize size);
QPixmap BackgroundImage(QSize size);

}  // namespace velmora::front
