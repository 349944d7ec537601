#include "COrvaneApp.h"

#include "main/CMediaMaster.h"
#include "support/Desktop.h"
#include "log/Log.h"
#include "EndRequests.h"
#include "SystemLanguage.h"

#include <QApplication>

namespace velmora::front {

COrvaneApp::COrvaneApp(int& argc, char** argv) : argc_(argc), argv_(argv) {}

bool COrvaneApp::InitInstance()
{
    QApplication application(argc_, argv_);
    LogInit("Velmora");
    const bool english = ChoosesEnglish(SystemLocaleName());

    SystemDesktop desktop;
    CMediaMaster window(english, desktop);
    const EndRequests endRequests([&window] { window.EndSoon(); });
    window.exec();
    return false;
}

}  // namespace velmora::front
