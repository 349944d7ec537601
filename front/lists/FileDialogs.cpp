#include "FileDialogs.h"

#include <QStringList>

namespace velmora::front {
namespace {

QString OneFilter(const FileFilter& filter)
{
    const QStringList patterns = QString::fromUtf8(filter.pattern).split(';', Qt::SkipEmptyParts);
    return QString::fromUtf8(filter.display) + " (" + patterns.join(' ') + ")";
}

}  // namespace

QString DialogFilter(const std::vector<FileFilter>& filters)
{
    QStringList parts;
    for (const auto& filter : filters) parts << OneFilter(filter);
    return parts.join(";;");
}

}  // namespace velmora::front
