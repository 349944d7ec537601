#include "BurnRows.h"

namespace velmora::front {

QString ResultStatusText(discburn::HResult hr, const QString& text)
{
    if (hr >= 0) return text;
    const QString code = QString::number(static_cast<std::uint32_t>(hr), 16).rightJustified(8, QChar('0')).toUpper();
    return text + " - Error:0x" + code;
}

}  // namespace velmora::front
