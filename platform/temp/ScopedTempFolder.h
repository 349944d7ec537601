#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora::platform {

// A fresh folder of its own inside the private temporary folder (PrivateTempFolder), named
// "<prefix>-XXXXXX" by mkdtemp (mode 0700); removed with everything in it when it goes.
class ScopedTempFolder {
public:
    explicit ScopedTempFolder(std::string_view prefix);
    ~ScopedTempFolder();
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

    // Empty when no folder could be made.
    const std::filesystem::path& Path() const { return path_; }
    // For the caller's log: why the usual private folder was not used, or why there is no
    // folder at all; empty when all went as usual.
    const std::string& Notice() const { return notice_; }

private:
    std::filesystem::path path_;
    std::string notice_;
};

}  // namespace velmora::platform
