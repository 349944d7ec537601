#include "MessageBox.h"

#include "log/Log.h"
#include "Lumetra.h"

#include <atomic>
#include <cstdio>

namespace MediaLibrary {
namespace {
std::atomic<LumetraMessageBoxHandler> messageBoxHandler{nullptr};
}

void ShowMessageBox(const std::string& text, const std::string& title)
{
    if (const auto handler = messageBoxHandler.load()) {
        handler(text.c_str(), title.c_str());
        return;
    }
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    LogMessage(1, "%s: %s", title.c_str(), text.c_str());
}

}  // namespace MediaLibrary

extern "C" LUMETRA_API void SetMessageBoxHandler(LumetraMessageBoxHandler handler)
{
    MediaLibrary::messageBoxHandler.store(handler);
}
