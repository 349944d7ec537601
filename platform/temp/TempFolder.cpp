#include "TempFolder.h"

#include "files/FileDescriptor.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmora::platform {
namespace {

// Why a folder may not be trusted; empty when it is ours and closed to others.
std::string DistrustReason(const std::filesystem::path& folder, uid_t user)
{
    const FileDescriptor opened(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!opened.valid()) {
        struct stat link{};
        if (::lstat(folder.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) return "it is a symbolic link";
        return std::string("it cannot be opened (") + std::strerror(errno) + ")";
    }
    struct stat info{};
    if (::fstat(opened.get(), &info) != 0) return "it cannot be examined";
    if (info.st_uid != user) return "it belongs to another user";
    if ((info.st_mode & 077) != 0) return "it is open to other users";
    return {};
}

std::filesystem::path MakeFreshFolder(const std::filesystem::path& base, uid_t user)
{
    std::string pattern = (base / ("velmora-" + std::to_string(user) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

// Where the user's private folder goes when the shared one cannot be trusted: the user's own
// runtime folder, else the user's cache, so that every process of the user finds the same one.
std::filesystem::path UserFallbackFolder(uid_t user)
{
    std::vector<std::filesystem::path> candidates;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/')
        candidates.push_back(std::filesystem::path(runtime) / "velmora-tmp");
    if (const char* home = std::getenv("HOME"); home && *home == '/') {
        const auto cache = std::filesystem::path(home) / ".cache";
        ::mkdir(cache.c_str(), 0700);
        candidates.push_back(cache / "velmora-tmp");
    }
    for (const auto& folder : candidates) {
        ::mkdir(folder.c_str(), 0700);   // whatever is there afterwards is checked before use
        if (DistrustReason(folder, user).empty()) return folder;
    }
    return {};
}

}  // namespace

PrivateFolder PrivateTempFolderIn(const std::filesystem::path& base, uid_t user)
{
    static std::mutex mutex;
    static std::map<std::filesystem::path, std::filesystem::path> fallbacks;

    const auto usual = base / ("velmora-" + std::to_string(user));
    ::mkdir(usual.c_str(), 0700);  // whatever is there afterwards is checked before use
    const std::string reason = DistrustReason(usual, user);
    if (reason.empty()) return {usual, {}};

    std::lock_guard lock(mutex);
    if (const auto known = fallbacks.find(usual); known != fallbacks.end() && DistrustReason(known->second, user).empty())
        return {known->second, {}};
    auto fresh = UserFallbackFolder(user);
    if (fresh.empty()) fresh = MakeFreshFolder(base, user);
    if (!fresh.empty()) fallbacks[usual] = fresh;
    return {fresh, "temporary folder " + usual.string() + " is not used because " + reason +
                       (fresh.empty() ? "; no private folder could be made" : "; using " + fresh.string())};
}

PrivateFolder PrivateTempFolder()
{
    const char* tmpdir = std::getenv("TMPDIR");
    return PrivateTempFolderIn(tmpdir && *tmpdir ? tmpdir : "/tmp", ::getuid());
}

}  // namespace velmora::platform
