#include "COrvaneApp.h"

#include "CMediaMaster.h"
#include "Desktop.h"
#include "Log.h"
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
    window.exec();
    return false;
}

}  // namespace velmora::front
