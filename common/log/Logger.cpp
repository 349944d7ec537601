#include "Logger.h"

#include <cstring>
#include <sys/utsname.h>
#include <unistd.h>

namespace velmora::log {
namespace {

constexpr const char* kStampFormat = "%m-%d-%Y %H.%M.%S";

std::time_t NextLocalMidnight(std::time_t now)
{
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_mday += 1;
    local.tm_hour = local.tm_min = local.tm_sec = 0;
    local.tm_isdst = -1;   // a day with a clock change is not 86400 seconds long
    return std::mktime(&local);
}

// A cut line must not end in the middle of a UTF-8 character.
void DropPartialCharacter(std::string& text)
{
    std::size_t keep = text.size();
    std::size_t continuation = 0;
    while (keep > 0 && (static_cast<unsigned char>(text[keep - 1]) & 0xC0) == 0x80 && continuation < 3) {
        --keep;
        ++continuation;
    }
    if (keep == 0) return;
    const auto lead = static_cast<unsigned char>(text[keep - 1]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length > 1 && continuation + 1 < length) text.resize(keep - 1);
}

}  // namespace

Logger::Logger(std::vector<std::filesystem::path> folders, Clock clock)
    : folders_(std::move(folders)), clock_(std::move(clock))
{
}

Logger::~Logger()
{
    if (stream_ && stream_ != stdout && stream_ != stderr) std::fclose(stream_);
}

void Logger::Init(std::string_view name, int level)
{
    {
        std::lock_guard lock(mutex_);
        name_ = std::string(name.substr(0, kNameLimit));
        level_ = level;
    }
    OpenFile();
    SystemInfo();
}

std::string Logger::Stamp(std::time_t when) const
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[100];
    const auto length = std::strftime(text, sizeof text, kStampFormat, &local);
    return std::string(text, length);
}

bool Logger::OpenFile()
{
    std::string name;
    {
        std::lock_guard lock(mutex_);
        name = name_;
    }
    if (name.empty()) return false;

    const std::time_t now = clock_();
    const std::string fileName = name + " Log(" + Stamp(now) + ").txt";

    std::lock_guard lock(mutex_);
    rollover_ = NextLocalMidnight(now);
    if (level_ < 0) {
        stream_ = stdout;
        path_.clear();
        return true;
    }
    CloseFileLocked();
    for (const auto& folder : folders_) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) continue;
        // Close-on-exec: the programs the library starts must not inherit the log.
        if (std::FILE* file = std::fopen((folder / fileName).c_str(), "a+e")) {
            stream_ = file;
            path_ = folder / fileName;
            break;
        }
    }
    if (!stream_ || stream_ == stdout) {
        stream_ = stderr;
        path_.clear();
    }
    std::fputs(kBeginBanner, stream_);
    std::fflush(stream_);
    return true;
}

void Logger::CloseFile()
{
    std::lock_guard lock(mutex_);
    CloseFileLocked();
}

void Logger::CloseFileLocked()
{
    if (stream_ && stream_ != stdout && stream_ != stderr) {
        std::fputs(kEndBanner, stream_);
        std::fclose(stream_);
    }
    stream_ = stdout;
    path_.clear();
}

void Logger::Message(unsigned level, const char* format, std::va_list arguments)
{
    if (!format) return;
    std::time_t rollover = 0;
    {
        std::lock_guard lock(mutex_);
        if (level > static_cast<unsigned>(level_)) return;
        rollover = rollover_;
    }
    const std::time_t now = clock_();
    if (rollover != 0 && now >= rollover) {
        CloseFile();
        OpenFile();
    }

    std::string line = Stamp(now) + " Thread Id(" + std::to_string(::gettid()) + ") ";
    char text[kLineLimit];
    const std::size_t room = kLineLimit - line.size();
    const int wanted = std::vsnprintf(text, room, format, arguments);
    if (wanted < 0) return;
    line.append(text, std::min(static_cast<std::size_t>(wanted), room - 1));
    if (static_cast<std::size_t>(wanted) >= room) DropPartialCharacter(line);
    Write(line);
}

void Logger::Printf(unsigned level, const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    Message(level, format, arguments);
    va_end(arguments);
}

void Logger::Write(const std::string& line)
{
    std::lock_guard lock(mutex_);
    std::FILE* stream = stream_ ? stream_ : stdout;
    if (echo_ && stream != stdout && stream != stderr) std::fprintf(stderr, "%s\n", line.c_str());
    std::fprintf(stream, "%s\n", line.c_str());
    std::fflush(stream);
}

void Logger::SystemInfo()
{
    utsname system{};
    ::uname(&system);
    int major = 0, minor = 0, build = 0;
    std::sscanf(system.release, "%d.%d.%d", &major, &minor, &build);
    const long processors = ::sysconf(_SC_NPROCESSORS_ONLN);
    Printf(0, "OS Major Version: %i Minor: %i Build %i Release: %s %s Processors: %li\n", major, minor, build,
           system.sysname, system.release, processors);
}

void Logger::SetEcho(bool echo)
{
    std::lock_guard lock(mutex_);
    echo_ = echo;
}

int Logger::Level() const
{
    std::lock_guard lock(mutex_);
    return level_;
}

std::filesystem::path Logger::Path() const
{
    std::lock_guard lock(mutex_);
    return path_;
}

}  // namespace velmora::log
