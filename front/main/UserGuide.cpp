#include "UserGuide.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::front {

QString FindUserGuide(const QString& programFolder)
{
    const QDir folder(programFolder);
    for (const QString& candidate : {folder.filePath("Help.pdf"), folder.filePath("../share/velmora/Help.pdf")}) {
        const QFileInfo guide(candidate);
        if (guide.isFile() && guide.isReadable()) return guide.canonicalFilePath();
    }
    return {};
}

}  // namespace velmora::front
