#include "PlainFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {

PlainFile OpenPlainFile(const std::filesystem::path& file)
{
    PlainFile opened;
    opened.fd.reset(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!opened.fd.valid()) {
        opened.problem = file.string() + " cannot be opened: " + std::strerror(errno);
        return opened;
    }
    struct stat facts {};
    if (::fstat(opened.fd.get(), &facts) != 0 || !S_ISREG(facts.st_mode)) {
        opened.fd.reset();
        opened.problem = file.string() + " is not a regular file";
        return opened;
    }
    opened.size = static_cast<std::uint64_t>(facts.st_size);
    return opened;
}

std::optional<std::string> ReadUpTo(const PlainFile& opened, std::size_t limit)
{
    std::string bytes(limit, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(opened.fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

std::optional<std::string> ReadPlainFileHead(const std::filesystem::path& file, std::size_t limit)
{
    const PlainFile opened = OpenPlainFile(file);
    if (!opened.fd.valid()) return std::nullopt;
    return ReadUpTo(opened, limit);
}

}  // namespace velmora::platform
