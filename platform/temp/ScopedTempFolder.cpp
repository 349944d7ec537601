#include "ScopedTempFolder.h"

#include "TempFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace velmora::platform {

ScopedTempFolder::ScopedTempFolder(std::string_view prefix)
{
    auto [base, notice] = PrivateTempFolder();
    notice_ = std::move(notice);
    if (base.empty()) return;
    std::string pattern = (base / (std::string(prefix) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data())) {
        path_ = pattern;
        return;
    }
    if (!notice_.empty()) notice_ += "; ";
    notice_ += "no folder can be made in " + base.string() + ": " + std::strerror(errno);
}

ScopedTempFolder::~ScopedTempFolder()
{
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

}  // namespace velmora::platform
