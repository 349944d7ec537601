#include "CdioLog.h"

#include "log/Log.h"

#include <cdio/logging.h>

#include <cstdlib>

namespace MediaLibrary::Audio {
namespace {

void LogCdioMessage(cdio_log_level_t level, const char message[])
{
    switch (level) {
    case CDIO_LOG_DEBUG:
    case CDIO_LOG_INFO:
        LogMessage(4, "libcdio: %s", message);
        return;
    case CDIO_LOG_WARN:
        LogMessage(3, "libcdio: %s", message);
        return;
    case CDIO_LOG_ERROR:
        LogMessage(2, "libcdio: %s", message);
        return;
    case CDIO_LOG_ASSERT:
        // libcdio would go on past its own failed assertion; its default handler stops here too.
        LogMessage(1, "libcdio: %s", message);
        std::abort();
    }
    LogMessage(3, "libcdio: %s", message);
}

}  // namespace

void RouteCdioMessagesToLog()
{
    cdio_log_set_handler(LogCdioMessage);
}

}  // namespace MediaLibrary::Audio
