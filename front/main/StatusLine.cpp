#include "StatusLine.h"

#include <QPainter>
#include <QStyle>

namespace velmora::front {

void StatusLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(), shown, foregroundRole());
}

}  // namespace velmora::front
