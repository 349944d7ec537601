#include "FrontTesting.h"

#include "main/CMediaMaster.h"
#include "main/ModeTables.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>

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

void ProcessEvents(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (timer.elapsed() < milliseconds);
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

}  // namespace velmora::test
