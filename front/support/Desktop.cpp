#include "Desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace velmora::front {

bool SystemDesktop::ShowMessage(QWidget* owner, const QString& text, const QString& caption, MessageKind kind)
{
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (kind) {
    case MessageKind::Plain:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::Question:
    case MessageKind::QuestionDefaultNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(kind == MessageKind::Question ? QMessageBox::Yes : QMessageBox::No);
        break;
    }
    const int answer = box.exec();
    return answer == QMessageBox::Yes || answer == QMessageBox::Ok;
}

QStringList SystemDesktop::ChooseFiles(QWidget* owner, const QString& filter)
{
    return QFileDialog::getOpenFileNames(owner, {}, {}, filter);
}

QString SystemDesktop::ChooseFolder(QWidget* owner, const QString& title)
{
    return QFileDialog::getExistingDirectory(owner, title);
}

QString SystemDesktop::ChooseSaveFile(QWidget* owner, const QString& filter)
{
    return QFileDialog::getSaveFileName(owner, {}, {}, filter);
}

void SystemDesktop::OpenUrl(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

}  // namespace velmora::front
