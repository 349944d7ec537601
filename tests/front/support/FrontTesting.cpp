#include "FrontTesting.h"

#include <QElapsedTimer>

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

}  // namespace velmora::test
