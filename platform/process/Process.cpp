#include "Process.h"

#include "files/FileDescriptor.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string_view>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmora::platform {
namespace {

constexpr std::size_t kErrorTailBytes = 1024;

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

int WaitFor(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
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
    outcome.exitStatus = WaitFor(child);
    if (outcome.exitStatus != 0 && options.stderrFile.empty()) outcome.errorTail = ReadTail(errors.get());
    return outcome;
}

}  // namespace velmora::platform
