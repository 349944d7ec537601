// Adding 100 clips to the Video Converter through the real window (offscreen): the longest time
// the window's event loop was held, and the time until every row has its play length, against
// what probing the clips on every core would take.

#include "BenchSupport.h"
#include "Lumetra.h"
#include "core/ControlIds.h"
#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "support/Desktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

using namespace velmora;

// Answers the file chooser with the clips and everything else with No.
class ClipsDesktop : public front::Desktop {
public:
    explicit ClipsDesktop(QStringList clips) : clips_(std::move(clips)) {}
    bool ShowMessage(QWidget*, const QString& text, const QString&, front::MessageKind) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return false;
    }
    QStringList ChooseFiles(QWidget*, const QString&) override { return clips_; }
    QString ChooseFolder(QWidget*, const QString&) override { return {}; }
    void OpenUrl(const QUrl&) override {}
    QString ChooseSaveFile(QWidget*, const QString&) override { return {}; }
    QString ChooseExistingFile(QWidget*, const QString&) override { return {}; }
    int RunDialog(QDialog&) override { return 0; }

private:
    QStringList clips_;
};

// Seconds of one GetMediaFacts, the mean of a few.
double OneProbe(const std::filesystem::path& clip)
{
    constexpr int kProbes = 10;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kProbes; ++i) {
        MediaLibrary::Header::MEDIACONVERSIONINFO facts{};
        char length[20] = "";
        GetMediaFacts(clip.c_str(), &facts, length);
    }
    return static_cast<double>(clock.nsecsElapsed()) / 1e9 / kProbes;
}

// Clicks Add Files from inside the event loop and watches how long the loop goes without turning.
struct Figures {
    double longestBlock = 0;   // seconds
    double filled = 0;         // seconds until no row waits for its play length
    int rows = 0;
};

Figures AddThroughWindow(front::CMediaMaster& window)
{
    Figures figures;
    QElapsedTimer clock, sinceTick;
    // Ticks often enough to see a block of the goal's size, seldom enough to leave the probes their cores.
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        figures.longestBlock = std::max(figures.longestBlock, static_cast<double>(sinceTick.nsecsElapsed()) / 1e9);
        sinceTick.restart();
    });
    auto& list = window.ConvertList();
    QTimer::singleShot(10, [&] {
        clock.start();
        qobject_cast<QAbstractButton*>(window.Control(front::control::kAddFilesButton))->click();
    });
    sinceTick.start();
    watch.start();
    // Sleeps until something happens, as the window's own loop does; the watch wakes it at least every tick.
    while (!clock.isValid() || list.Measuring()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    figures.filled = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    figures.rows = list.topLevelItemCount();
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace velmora::bench;
    constexpr int kClips = 100;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Workspace workspace;
    QStringList clips;
    for (int i = 0; i < kClips; ++i) {
        const auto clip = workspace.path() / ("clip" + std::to_string(i) + ".avi");
        if (!MakeClip(clip, 1, "64x48")) {
            std::fprintf(stderr, "cannot make the clips (is ffmpeg installed?)\n");
            return 1;
        }
        clips << QString::fromStdString(clip.string());
    }
    const double probe = OneProbe(clips.front().toStdString());

    ClipsDesktop desktop(clips);
    front::CMediaMaster window(true, desktop);
    window.show();
    qobject_cast<QAbstractButton*>(window.Control(front::control::kVideoConverterButton))->click();
    const Figures figures = AddThroughWindow(window);

    const int cores = QThread::idealThreadCount();
    const double goal = 1.2 * kClips * probe / cores;
    std::printf("adding %d clips to the Video Converter (%d cores, one probe %.1f ms)\n", kClips, cores, 1000 * probe);
    std::printf("  rows listed                 %8d\n", figures.rows);
    std::printf("  longest event-loop block    %8.1f ms (goal: under 100 ms)\n", 1000 * figures.longestBlock);
    std::printf("  every row filled after      %8.1f ms (goal: within %.1f ms)\n", 1000 * figures.filled, 1000 * goal);
    return figures.rows == kClips ? 0 : 1;
}
