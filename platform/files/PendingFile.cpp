#include "PendingFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <string>
#include <unistd.h>

namespace velmora::platform {

bool RenameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    // File systems without the flag: a hard link is made only where no name is.
    if (errno != EINVAL || ::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}

PendingFile::PendingFile(std::filesystem::path target) : target_(std::move(target))
{
    static std::atomic<unsigned> serial{0};
    const auto folder = target_.has_parent_path() ? target_.parent_path() : std::filesystem::path(".");
    const std::string extension = target_.extension().string();
    // Created like the target would be (mode 0666 less the umask), under a name nobody else holds.
    for (int attempt = 0; attempt < 100 && !file_.valid(); ++attempt) {
        std::string name(".");
        name.append(target_.stem().string()).append(".").append(std::to_string(::getpid())).append(".");
        name.append(std::to_string(serial++)).append(".partial").append(extension);
        temporary_ = folder / name;
        file_.reset(::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!file_.valid() && errno != EEXIST) break;
    }
    if (!file_.valid()) {
        Failed("cannot write into " + folder.string());
        temporary_.clear();
    }
}

PendingFile::~PendingFile()
{
    file_.reset();
    if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

bool PendingFile::Failed(const std::string& what)
{
    failure_ = what + ": " + std::strerror(errno);
    return false;
}

bool PendingFile::Write(const void* bytes, std::size_t count)
{
    const char* at = static_cast<const char*>(bytes);
    while (count > 0) {
        const ssize_t written = ::write(file_.get(), at, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return Failed("writing " + target_.string() + " failed");
        at += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

bool PendingFile::WriteZeros(std::size_t count)
{
    static const char zeros[64 * 1024] = {};
    while (count > 0) {
        const std::size_t part = std::min(count, sizeof zeros);
        if (!Write(zeros, part)) return false;
        count -= part;
    }
    return true;
}

bool PendingFile::Close()
{
    // A failed close can be the first word of a failed write, so it is checked here.
    if (file_.valid() && ::close(file_.release()) != 0) return Failed("writing " + target_.string() + " failed");
    return true;
}

bool PendingFile::Commit()
{
    if (!IsOpen() || !Close()) return false;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return Failed("cannot replace " + target_.string());
    committed_ = true;
    return true;
}

bool PendingFile::CommitNew()
{
    exists_ = false;
    if (!IsOpen() || !Close()) return false;
    if (!RenameWithoutReplacing(temporary_, target_)) {
        exists_ = errno == EEXIST;
        return Failed("cannot write " + target_.string());
    }
    committed_ = true;
    return true;
}

}  // namespace velmora::platform
