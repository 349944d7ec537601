#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace velmora::front {

enum class MessageKind {
    Plain,                  // OK button, no icon
    Information,            // OK button, information icon
    Question,               // Yes and No, question icon
    QuestionDefaultNo,      // Yes and No, question icon, No as default
    Error,                  // OK button, error icon
};

// Everything the window asks of the user or the desktop goes through here, so that tests can answer.
class Desktop {
public:
    virtual ~Desktop() = default;

    // True for Yes (or OK).
    virtual bool ShowMessage(QWidget* owner, const QString& text, const QString& caption, MessageKind kind) = 0;
    // Chosen paths; empty when cancelled.
    virtual QStringList ChooseFiles(QWidget* owner, const QString& filter) = 0;
    virtual QString ChooseFolder(QWidget* owner, const QString& title) = 0;
    // A path to write, confirmed if it exists; empty when cancelled.
    virtual QString ChooseSaveFile(QWidget* owner, const QString& filter) = 0;
    virtual void OpenUrl(const QUrl& url) = 0;
};

// Modal message boxes, the platform's file dialogs and the desktop's default applications.
class SystemDesktop : public Desktop {
public:
    bool ShowMessage(QWidget* owner, const QString& text, const QString& caption, MessageKind kind) override;
    QStringList ChooseFiles(QWidget* owner, const QString& filter) override;
    QString ChooseFolder(QWidget* owner, const QString& title) override;
    QString ChooseSaveFile(QWidget* owner, const QString& filter) override;
    void OpenUrl(const QUrl& url) override;
};

}  // namespace velmora::front
