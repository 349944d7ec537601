#pragma once

#include "support/Desktop.h"

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>
#include <ostream>
#include <memory>
#include <set>
#include <vector>

namespace velmora::front {
class CMediaMaster;
}

namespace velmora::test {

// The one QApplication of a test program (offscreen platform, set by CTest).
QApplication& TestApplication();

// Lets queued calls and events run for a moment.
void ProcessEvents(int milliseconds = 0);
// Lets events run until the condition holds; false when it still fails after the time-out.
bool ProcessEventsUntil(const std::function<bool()>& condition, int milliseconds = 60000);

struct ShownMessage {
    QString text;
    QString caption;
    front::MessageKind kind;
};

// Answers the window's questions as a test says and remembers what was asked.
class AnsweringDesktop : public front::Desktop {
public:
    bool ShowMessage(QWidget*, const QString& text, const QString& caption, front::MessageKind kind) override
    {
        messages.push_back({text, caption, kind});
        if (answers.empty()) return defaultAnswer;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QStringList ChooseFiles(QWidget*, const QString& filter) override
    {
        filters << filter;
        return chosenFiles;
    }
    QString ChooseFolder(QWidget*, const QString& title) override
    {
        folderTitles << title;
        return chosenFolder;
    }
    void OpenUrl(const QUrl& url) override { openedUrls.push_back(url); }
    QString ChooseSaveFile(QWidget*, const QString& filter) override
    {
        filters << filter;
        return chosenSaveFile;
    }
    QString ChooseExistingFile(QWidget*, const QString& filter) override
    {
        filters << filter;
        return chosenExistingFile;
    }
    int RunDialog(QDialog& dialog) override
    {
        ++dialogsRun;
        return answerDialog ? answerDialog(dialog) : 0;
    }

    bool defaultAnswer = true;
    std::deque<bool> answers;
    QStringList chosenFiles;
    QString chosenFolder;
    QString chosenSaveFile;
    QString chosenExistingFile;
    // Plays the user's part in a modal dialog and gives its result code; none rejects it.
    std::function<int(QDialog&)> answerDialog;
    int dialogsRun = 0;

    std::vector<ShownMessage> messages;
    QStringList filters;
    QStringList folderTitles;
    std::vector<QUrl> openedUrls;
};

// A main window against the real library beside the test program, shown offscreen.
std::unique_ptr<front::CMediaMaster> MakeWindow(front::Desktop& desktop, bool english = true);

void Click(front::CMediaMaster& window, int id);
// A button's text, a label's text or a group box's title.
QString Caption(const front::CMediaMaster& window, int id);
// The controls of the control map that are shown, and of those the enabled ones.
std::set<int> ShownControls(const front::CMediaMaster& window);
bool Enabled(const front::CMediaMaster& window, int id);

}  // namespace velmora::test

// Readable values in test failures.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{' << texts.join(", ").toStdString() << '}';
}
