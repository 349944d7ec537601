#include "StatusLine.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace velmora::front {

void StatusLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = contentsRect();
    const QFontMetrics metrics = fontMetrics();
    const int flags = static_cast<int>(alignment());
    QString shown = text();
    int wrap = Qt::TextWordWrap;
    if (!area.contains(metrics.boundingRect(area, flags | wrap, shown))) {
        // As many lines as fit, filled to the edge, less the middle of the text.
        const int lines = std::max(1, area.height() / metrics.lineSpacing());
        shown = metrics.elidedText(shown, Qt::ElideMiddle, area.width() * lines - 2 * metrics.averageCharWidth());
        wrap = Qt::TextWrapAnywhere;
    }
    style()->drawItemText(&painter, area, flags | wrap, palette(), isEnabled(), shown, foregroundRole());
}

}  // namespace velmora::front
