#include "FileDialogs.h"

#include <QFileDialog>
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

int ChooseSaveFile(QWidget* owner, std::string& path, const std::vector<FileFilter>& filters)
{
    path.clear();
    QString chosenFilter;
    const QString chosen = QFileDialog::getSaveFileName(owner, {}, {}, DialogFilter(filters), &chosenFilter);
    if (chosen.isEmpty()) return -1;
    path = chosen.toStdString();
    for (std::size_t index = 0; index < filters.size(); ++index)
        if (OneFilter(filters[index]) == chosenFilter) return static_cast<int>(index) + 1;
    return 1;
}

int ChooseIsoFile(std::string& path, QWidget* owner)
{
    path.clear();
    QFileDialog dialog(owner);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(DialogFilter({kIsoFilesFilter}));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return -1;
    path = dialog.selectedFiles().front().toStdString();
    return 1;
}

}  // namespace velmora::front
