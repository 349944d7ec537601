#include "Process.h"

#include "files/FileDescriptor.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <string_view>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmora::platform {
namespace {

constexpr std::size_t kErrorTailBytes = 1024;
constexpr auto kPollSlice = std::chrono::milliseconds(100);
constexpr auto kGraceBeforeKill = std::chrono::seconds(3);

using Clock = std::chrono::steady_clock;

// Called directly: the C library's own declarations of these are not usable from C++ here.
int OpenProcessDescriptor(pid_t child)
{
    return static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
}

void SignalProcess(int pidfd, int signal)
{
    ::syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0);
}

// A child being waited for, known by a descriptor of its own so that a signal can never reach
// another process that got its number.
struct RunningChild {
    int pidfd = -1;
    std::atomic<bool> cancelled{false};
};

std::mutex runningMutex;
std::set<RunningChild*> runningChildren;

class Registration {
public:
    explicit Registration(RunningChild& child) : child_(child)
    {
        std::lock_guard lock(runningMutex);
        runningChildren.insert(&child_);
    }
    ~Registration()
    {
        std::lock_guard lock(runningMutex);
        runningChildren.erase(&child_);
    }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

private:
    RunningChild& child_;
};

class SpawnActions {
public:
    SpawnActions() { ::posix_spawn_file_actions_init(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    ~SpawnActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    void Redirect(int from, int to) { ::posix_spawn_file_actions_adddup2(&actions_, from, to); }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
};

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra)
{
    std::vector<std::string> merged;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view current(*entry);
        const auto name = current.substr(0, current.find('=') + 1);
        bool replaced = false;
        for (const auto& added : extra) replaced = replaced || std::string_view(added).starts_with(name);
        if (!replaced) merged.emplace_back(current);
    }
    merged.insert(merged.end(), extra.begin(), extra.end());
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& words)
{
    std::vector<char*> pointers;
    pointers.reserve(words.size() + 1);
    for (auto& word : words) pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

std::string ReadFront(int fd, std::size_t limit)
{
    std::string text(limit, '\0');
    const ssize_t got = ::pread(fd, text.data(), text.size(), 0);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

std::string ReadTail(int fd)
{
    const off_t size = ::lseek(fd, 0, SEEK_END);
    if (size <= 0) return {};
    const off_t start = size > static_cast<off_t>(kErrorTailBytes) ? size - kErrorTailBytes : 0;
    std::string tail(static_cast<std::size_t>(size - start), '\0');
    const ssize_t got = ::pread(fd, tail.data(), tail.size(), start);
    tail.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) tail.pop_back();
    return tail;
}

int Reap(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Hands what the child wrote since the last call to the watcher.
class ErrorWatch {
public:
    ErrorWatch(int fd, const SpawnOptions& options) : fd_(fd), watch_(options.watchErrors) {}
    void Pass()
    {
        if (!watch_) return;
        char buffer[16 * 1024];
        ssize_t got = 0;
        while ((got = ::pread(fd_, buffer, sizeof buffer, offset_)) > 0) {
            offset_ += got;
            watch_(std::string_view(buffer, static_cast<std::size_t>(got)));
        }
    }

private:
    int fd_;
    const std::function<void(std::string_view)>& watch_;
    off_t offset_ = 0;
};

// Waits in short slices, so that a time-out or a cancel is seen while the child runs.
void WaitForExit(RunningChild& child, const SpawnOptions& options, ErrorWatch& errors, ProcessOutcome& outcome)
{
    const auto start = Clock::now();
    std::optional<Clock::time_point> killAt;
    pollfd exited{child.pidfd, POLLIN, 0};
    while (::poll(&exited, 1, static_cast<int>(kPollSlice.count())) == 0 || (exited.revents & POLLIN) == 0) {
        const auto now = Clock::now();
        if (options.timeout && now - start >= *options.timeout && !outcome.timedOut) {
            outcome.timedOut = true;
            SignalProcess(child.pidfd, SIGKILL);
        }
        if (child.cancelled && !killAt) killAt = now + kGraceBeforeKill;
        if (killAt && now >= *killAt) SignalProcess(child.pidfd, SIGKILL);
        errors.Pass();
    }
    errors.Pass();
    outcome.cancelled = child.cancelled;
}

}  // namespace

ProcessOutcome RunAndWait(const std::vector<std::string>& arguments, const SpawnOptions& options)
{
    ProcessOutcome outcome;
    if (arguments.empty()) {
        outcome.failure = "no program given";
        return outcome;
    }
    FileDescriptor nothing(::open("/dev/null", O_RDWR | O_CLOEXEC));
    FileDescriptor errors(options.stderrFile.empty()
                              ? ::memfd_create("velmora-child-stderr", MFD_CLOEXEC)
                              : ::open(options.stderrFile.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!nothing.valid() || !errors.valid()) {
        outcome.failure = std::string("cannot prepare the child's streams: ") + std::strerror(errno);
        return outcome;
    }

    SpawnActions actions;
    actions.Redirect(nothing.get(), STDIN_FILENO);
    actions.Redirect(nothing.get(), STDOUT_FILENO);
    actions.Redirect(errors.get(), STDERR_FILENO);
    if (options.inheritedAsDescriptor3 >= 0) actions.Redirect(options.inheritedAsDescriptor3, 3);

    std::vector<std::string> words = arguments;
    std::vector<std::string> environment = MergedEnvironment(options.extraEnvironment);
    auto argv = Pointers(words);
    auto envp = Pointers(environment);

    pid_t child = 0;
    const int error = ::posix_spawn(&child, argv[0], actions.get(), nullptr, argv.data(), envp.data());
    if (error != 0) {
        outcome.failure = std::strerror(error);
        return outcome;
    }
    outcome.started = true;
    RunningChild watched{OpenProcessDescriptor(child)};
    if (watched.pidfd >= 0) {
        const FileDescriptor owned(watched.pidfd);
        const Registration registered(watched);
        ErrorWatch errorWatch(errors.get(), options);
        WaitForExit(watched, options, errorWatch, outcome);
    }
    outcome.exitStatus = Reap(child);
    if (options.stderrFile.empty()) {
        if (options.keptErrorBytes > 0) outcome.errorText = ReadFront(errors.get(), options.keptErrorBytes);
        if (outcome.exitStatus != 0) outcome.errorTail = ReadTail(errors.get());
    }
    return outcome;
}

void CancelRunningChildren()
{
    std::lock_guard lock(runningMutex);
    for (RunningChild* child : runningChildren) {
        child->cancelled = true;
        SignalProcess(child->pidfd, SIGTERM);
    }
}

}  // namespace velmora::platform
