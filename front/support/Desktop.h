#pragma once

#include "core/MessageKind.h"

#include <QString>
#include <QStringList>
#include <QUrl>

class QDialog;
class QWidget;

namespace velmora::front {

// Everything the window asks of the user or the desktop goes through here, so that tests can answer.
class Desktop {
public:
    virtual ~Desktop() = default;

    // True for Yes (or OK).
    virtual bool ShowMessage(QWidget* owner, const QString& text, const QString& caption, MessageKind kind) = 0;
    // Chosen paths; empty when cancelled.
    virtual QStringList ChooseFiles(QWidget* owner, const QString& filter) = 0;
    virtual QString ChooseFolder(QWidget* owner, const QString& title) = 0;
    virtual void OpenUrl(const QUrl& url) = 0;
    // A file to write (asking before overwriting) or an existing file; empty when cancelled.
    virtual QString ChooseSaveFile(QWidget* owner, const QString& filter) = 0;
    virtual QString ChooseExistingFile(QWidget* owner, const QString& filter) = 0;
    // Runs a modal dialog; its result code (QDialog::Accepted or Rejected).
    virtual int RunDialog(QDialog& dialog) = 0;
};

// Modal message boxes, the platform's file dialogs and the desktop's default applications.
class SystemDesktop : public Desktop {
public:
    bool ShowMessage(QWidget* owner, const QString& text, const QString& caption, MessageKind kind) override;
    QStringList ChooseFiles(QWidget* owner, const QString& filter) override;
    QString ChooseFolder(QWidget* owner, const QString& title) override;
    void OpenUrl(const QUrl& url) override;
    QString ChooseSaveFile(QWidget* owner, const QString& filter) override;
    QString ChooseExistingFile(QWidget* owner, const QString& filter) override;
    int RunDialog(QDialog& dialog) override;
};

}  // namespace velmora::front
