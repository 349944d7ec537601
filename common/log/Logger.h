#pragma once

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::log {

// One deliverable's diagnostic log: a threshold, a daily file named after the log name and the
// time it was opened, lines stamped with time and thread id, every line flushed at once.
class Logger {
public:
    using Clock = std::function<std::time_t()>;

    static constexpr std::size_t kLineLimit = 2048;     // a line with its terminator
    static constexpr std::size_t kNameLimit = 100;
    static constexpr const char* kBeginBanner = "\n------------- Beginning Logging Session --------------\n\n";
    static constexpr const char* kEndBanner = "\n------------- End of logging session --------------";

    // folders: where the "logs" folder may live, tried in order; none usable means standard error,
    // so that a program's output stays its own.
    explicit Logger(std::vector<std::filesystem::path> folders, Clock clock = [] { return std::time(nullptr); });
    ~Logger();
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    void Init(std::string_view name, int level);
    bool OpenFile();
    void CloseFile();
    void Message(unsigned level, const char* format, std::va_list arguments);
    void Printf(unsigned level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void SystemInfo();

    // Copies every line to standard error as well (a command line's -v); off by default.
    void SetEcho(bool echo);
    int Level() const;
    std::filesystem::path Path() const;   // empty while logging to standard output

private:
    std::string Stamp(std::time_t when) const;
    void CloseFileLocked();
    void Write(const std::string& line);

    const std::vector<std::filesystem::path> folders_;
    const Clock clock_;

    mutable std::mutex mutex_;
    int level_ = -1;
    std::string name_;
    std::filesystem::path path_;
    std::FILE* stream_ = nullptr;
    std::time_t rollover_ = 0;
    bool echo_ = false;
};

}  // namespace velmora::log
