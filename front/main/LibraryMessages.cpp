#include "LibraryMessages.h"

#include "CMediaMaster.h"
#include "log/Log.h"
#include "Lumetra.h"

#include <atomic>
#include <cstdio>

namespace velmora::front {
namespace {
std::atomic<CMediaMaster*> messageWindow{nullptr};
}

void AttachLibraryMessages(CMediaMaster& window)
{
    messageWindow = &window;
    SetMessageBoxHandler(&ShowLibraryMessage);
}

void DetachLibraryMessages(CMediaMaster& window)
{
    CMediaMaster* expected = &window;
    if (messageWindow.compare_exchange_strong(expected, nullptr)) SetMessageBoxHandler(nullptr);
}

void ShowLibraryMessage(const char* text, const char* title)
{
    const QString message = QString::fromUtf8(text ? text : "");
    const QString caption = QString::fromUtf8(title ? title : "");
    if (CMediaMaster* window = messageWindow.load()) {
        window->ShowMessage(message, caption, MessageKind::Plain);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(message));
    LogMessage(1, "%s: %s", qPrintable(caption), qPrintable(message));
}

}  // namespace velmora::front
