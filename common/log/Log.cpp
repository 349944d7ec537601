#include "Log.h"

#include "Logger.h"
#include "paths/ExecutablePath.h"
#include "settings/Settings.h"

using velmora::log::Logger;

Logger& ProcessLog()
{
    // Never destroyed: other threads and exit handlers may still log while statics go away.
    static Logger* const log = [] {
        std::vector<std::filesystem::path> folders{velmora::platform::ExecutableFolder() / "logs"};
        if (const auto state = velmora::platform::UserStateFolder(); !state.empty())
            folders.push_back(state / "velmora" / "logs");
        return new Logger(std::move(folders));
    }();
    return *log;
}

void LogInit(const char* name)
{
    const int level = velmora::platform::Settings::Load().GetInt("LogLevel", 1);
    ProcessLog().Init(name ? name : "", level);
}

void LogMessage(unsigned level, const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    ProcessLog().Message(level, format, arguments);
    va_end(arguments);
}

bool LogOpenFile()
{
    return ProcessLog().OpenFile();
}

void LogCloseFile()
{
    ProcessLog().CloseFile();
}

void LogSystemInfo()
{
    ProcessLog().SystemInfo();
}

void LogEcho(bool echo)
{
    ProcessLog().SetEcho(echo);
}
