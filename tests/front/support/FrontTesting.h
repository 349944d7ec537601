#pragma once

#include "Lumetra.h"
#include "burnjobs/BurnHost.h"
#include "jobs/JobHost.h"
#include "lists/ListHost.h"
#include "support/Desktop.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

class QAbstractItemView;
class QTreeWidget;

namespace velmora::front {
class CMediaMaster;
}

namespace velmora::test {

// The one QApplication of a test program (offscreen platform, set by CTest).
QApplication& TestApplication();
// Binds the library beside the test program, as the window does.
void BindLibrary();
// A clip of ffmpeg's test picture and tone, made once per program.
std::filesystem::path TestClip(const std::string& name, double seconds, int width = 160, int height = 120);
inline QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// Lets events run until the condition holds (false on time-out), or for a moment.
bool ProcessEventsUntil(const std::function<bool()>& condition, int milliseconds = 60000);
inline void ProcessEvents(int milliseconds = 0) { ProcessEventsUntil([] { return false; }, milliseconds); }
// Waits until every file and folder added to the list has been measured.
template <typename List>
void Settle(const List& list)
{
    ASSERT_TRUE(ProcessEventsUntil([&] { return !list.Measuring(); }));
}

struct ShownMessage {
    QString text, caption;
    front::MessageKind kind;
    bool operator==(const ShownMessage&) const = default;
};
using Messages = std::vector<ShownMessage>;

// Answers the window's questions as a test says and remembers what was asked.
class AnsweringDesktop : public front::Desktop {
public:
    bool ShowMessage(QWidget*, const QString& text, const QString& caption, front::MessageKind kind) override
    {
        messages.push_back({text, caption, kind});
        return answer;
    }
    QStringList ChooseFiles(QWidget*, const QString& filter) override { return filters << filter, chosenFiles; }
    QString ChooseFolder(QWidget*, const QString&) override { return chosenFolder; }
    void OpenUrl(const QUrl& url) override { openedUrls.push_back(url); }
    QString ChooseSaveFile(QWidget*, const QString& filter) override
    {
        if (whileSaving) whileSaving();
        return filters << filter, chosenSaveFile;
    }
    QString ChooseExistingFile(QWidget*, const QString& filter) override { return filters << filter, chosenExisting; }
    // Plays the user's part in a modal dialog and gives its result code; none rejects it.
    int RunDialog(QDialog& dialog) override { return answerDialog ? answerDialog(dialog) : 0; }

    bool answer = true;
    QStringList chosenFiles;
    QString chosenFolder, chosenSaveFile, chosenExisting;
    std::function<void()> whileSaving;   // what the user does while the save dialog is open
    std::function<int(QDialog&)> answerDialog;

    Messages messages;
    QStringList filters;
    std::vector<QUrl> openedUrls;
};

// The window's part for a list, a conversion job or a burn job on its own: answers as the test
// says and records what was asked. A burn job calls from its thread; tests read once it has ended.
class FakeHost : public front::JobHost, public front::ListHost, public front::BurnHost {
public:
    using Request = MediaLibrary::Header::MEDIACONVERSIONINFO;

    front::SharedState& State() override { return state; }
    int Mode() const override { return mode; }
    const front::UiStrings& Strings() const override { return strings; }
    void EnableControls(bool busy) override { controls.push_back(busy); }
    void SetStatusText(const QString& text) override { statuses << text; }
    bool ShowMessage(const QString& text, const QString& caption, front::MessageKind kind) override
    {
        messages.push_back({text, caption, kind});
        return answer;
    }
    QString LastStatus() const { return statuses.isEmpty() ? QString() : statuses.back(); }
    // Whether a status began so.
    bool Shown(const QString& start) const
    {
        return std::any_of(statuses.begin(), statuses.end(), [&](const QString& status) { return status.startsWith(start); });
    }

    // JobHost
    void ShowProgress(int maximum, int) override { progressMaximum = maximum; }
    void SetProgress(int position) override { positions.push_back(position); }
    void EndProgress() override {}
    void CollectSettings(Request& request, const Request* defaults) override { collect(request, defaults); }
    std::string ChooseOutputFolder() override { return ++questions, folder; }
    std::string ChooseJoinedFile() override { return ++questions, joinedFile; }
    void ShowPreview(const std::string& picture) override
    {
        previews.push_back(picture);
        if (onPreview) onPreview(picture);
    }
    void HidePreview() override { ++hidden; }
    void UncheckRow(int row) override { unchecked.push_back(row); }
    void PostCommand(int id) override { commands.push_back(id); }

    // ListHost
    bool RequireExport(front::Export which) override { return missing.count(which) == 0; }
    void AddDiscUsed(std::int64_t amount) override { used += amount; }
    void UpdateDiscUsage() override {}
    void UpdateOutputInfo(std::int64_t totalSeconds) override { outputSeconds = totalSeconds; }
    void ApplyVideoDefaults(const MediaLibrary::Header::MEDIACONVERSIONINFO& figures) override
    {
        defaultWidths.push_back(figures.nWidth);
    }
    void SetJoinEnabled(bool enabled) override { joinCalls.push_back(enabled); }

    // BurnHost
    void ShowBurnProgress(std::uint64_t done, std::uint64_t total) override { burnProgress.emplace_back(done, total); }
    std::string ChooseIsoFileToWrite() override { return isoToWrite; }
    std::string ChooseIsoFileToBurn() override { return isoToBurn; }
    std::optional<std::string> ChooseTargetRecorder(bool) override { return ++questions, target; }

    front::SharedState state;
    int mode = front::kModeVideoConverter;
    front::UiStrings strings{true};
    bool answer = true;
    std::function<void(Request&, const Request*)> collect = [](Request&, const Request*) {};
    std::string folder, joinedFile, isoToWrite, isoToBurn;
    std::optional<std::string> target;
    std::set<front::Export> missing;

    std::vector<bool> controls, joinCalls;   // controls: busy, then free
    QStringList statuses;
    Messages messages;
    int questions = 0, progressMaximum = 0, hidden = 0;   // questions: folder, file, recorder
    std::vector<std::string> previews;
    std::vector<int> defaultWidths, positions;
    std::function<void(const std::string&)> onPreview;   // sees the picture while it is there
    std::vector<int> unchecked, commands;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> burnProgress;   // bytes done, in all
    std::int64_t used = 0, outputSeconds = -1;
};

// A main window against the real library beside the test program, shown offscreen.
std::unique_ptr<front::CMediaMaster> MakeWindow(front::Desktop& desktop, bool english = true);

void Click(front::CMediaMaster& window, int id);
// A button's text, a label's text or a group box's title.
QString Caption(const front::CMediaMaster& window, int id);
// The controls of the control map that are shown.
std::set<int> ShownControls(const front::CMediaMaster& window);
bool Enabled(const front::CMediaMaster& window, int id);
bool Checked(const front::CMediaMaster& window, int id);
// The texts of a column of a list's rows.
QStringList Column(const QTreeWidget& list, int column);

// What the desktop's file manager delivers to a list: file URLs, in order.
void Drop(QAbstractItemView& list, const QStringList& files);

inline void PrintTo(const ShownMessage& message, std::ostream* out)
{
    *out << message.caption.toStdString() << ": " << message.text.toStdString() << " ("
         << static_cast<int>(message.kind) << ')';
}

}  // namespace velmora::test

// Readable values in test failures.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
