#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace velmora::platform {

struct PrivateFolder {
    std::filesystem::path path;   // empty when no private folder could be made at all
    std::string notice;           // why the usual folder was not used; empty when it was
};

// The user's own temporary folder: $TMPDIR/velmora-<uid> (mode 0700). When that name is a
// symlink, belongs to someone else or is open to others, a fresh mkdtemp folder is used for
// the rest of the process and the notice says why (once).
PrivateFolder PrivateTempFolder();

// The same decision for an explicit base folder and user, for callers that must not read the environment.
PrivateFolder PrivateTempFolderIn(const std::filesystem::path& base, uid_t user);

}  // namespace velmora::platform
