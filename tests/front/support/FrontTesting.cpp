#include "FrontTesting.h"

#include "Media.h"
#include "ScratchFolder.h"
#include "core/LumetraBinding.h"
#include "main/CMediaMaster.h"
#include "main/ModeTables.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QTreeWidget>

#include <stdexcept>
#include <string>

namespace velmora::test {

QApplication& TestApplication()
{
    static int argc = 1;
    static char name[] = "front-test";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

void BindLibrary()
{
    if (!front::Lumetra().Bind(front::DefaultLibraryPath())) throw std::runtime_error("no library to bind");
}

std::filesystem::path TestClip(const std::string& name, double seconds, int width, int height)
{
    static ScratchFolder clips;
    const auto clip = clips / name;
    if (!std::filesystem::exists(clip) && !MakeClip(clip, seconds, width, height))
        throw std::runtime_error("cannot make the clip " + name);
    return clip;
}

bool ProcessEventsUntil(const std::function<bool()>& condition, int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

std::unique_ptr<front::CMediaMaster> MakeWindow(front::Desktop& desktop, bool english)
{
    TestApplication();
    auto window = std::make_unique<front::CMediaMaster>(english, desktop);
    window->show();
    return window;
}

void Click(front::CMediaMaster& window, int id)
{
    auto* button = qobject_cast<QAbstractButton*>(window.Control(id));
    if (!button) throw std::logic_error("not a button: " + std::to_string(id));
    button->click();
}

QString Caption(const front::CMediaMaster& window, int id)
{
    QWidget* control = window.Control(id);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(control)) return group->title();
    throw std::logic_error("no caption: " + std::to_string(id));
}

std::set<int> ShownControls(const front::CMediaMaster& window)
{
    std::set<int> shown;
    for (const int id : front::ControlMapIds())
        if (window.Control(id)->isVisibleTo(&window)) shown.insert(id);
    return shown;
}

bool Enabled(const front::CMediaMaster& window, int id)
{
    return window.Control(id)->isEnabled();
}

bool Checked(const front::CMediaMaster& window, int id)
{
    return static_cast<QAbstractButton*>(window.Control(id))->isChecked();
}

QStringList Column(const QTreeWidget& list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.topLevelItemCount(); ++row) texts << list.topLevelItem(row)->text(column);
    return texts;
}

void Drop(QAbstractItemView& list, const QStringList& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    const QPoint at(10, 10);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &drop})
        QCoreApplication::sendEvent(list.viewport(), event);
}

}  // namespace velmora::test
