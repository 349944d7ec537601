#include "PendingFile.h"

#include "log/Log.h"

#include <cerrno>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace velmora::discburn {

PendingFile::PendingFile(std::filesystem::path target) : target_(std::move(target))
{
    static std::atomic<unsigned> serial{0};
    const auto folder = target_.has_parent_path() ? target_.parent_path() : std::filesystem::path(".");
    // Created like the target would be (mode 0666 less the umask), under a name nobody else holds.
    for (int attempt = 0; attempt < 100 && !file_.valid(); ++attempt) {
        std::string name = ".";
        name += target_.filename().string();
        for (const auto& part : {std::to_string(::getpid()), std::to_string(serial++)}) {
            name += '.';
            name += part;
        }
        name += ".partial";
        temporary_ = folder / name;
        file_.reset(::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!file_.valid() && errno != EEXIST) break;
    }
    if (!file_.valid()) {
        LogMessage(1, "Cannot write beside %s: %s", target_.c_str(), std::strerror(errno));
        temporary_.clear();
    }
}

PendingFile::~PendingFile()
{
    file_.reset();
    if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

bool PendingFile::Write(const void* bytes, std::size_t count)
{
    const char* at = static_cast<const char*>(bytes);
    while (count > 0) {
        const ssize_t written = ::write(file_.get(), at, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            LogMessage(1, "Writing %s failed: %s", temporary_.c_str(), std::strerror(errno));
            return false;
        }
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

bool PendingFile::Commit()
{
    if (!file_.valid()) return false;
    // A failed close can be the first word of a failed write, so it is checked here.
    const bool closed = ::close(file_.release()) == 0;
    if (!closed || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        LogMessage(1, "Cannot complete %s: %s", target_.c_str(), std::strerror(errno));
        return false;
    }
    committed_ = true;
    return true;
}

}  // namespace velmora::discburn
