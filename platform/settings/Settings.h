#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::platform {

// The machine-wide configuration: plain "Name=Value" lines with '#' comments.
// A missing file or value gives the caller's default; a file that is not a plain file is no file.
class Settings {
public:
    static constexpr const char* kDefaultPath = "/etc/velmora/velmora.conf";
    static constexpr const char* kPathVariable = "VELMORA_CONF";
    // What is read of the file at the most.
    static constexpr std::size_t kSizeLimit = 64 * 1024;

    // The file named by VELMORA_CONF, else the machine-wide file.
    static Settings Load();
    static Settings FromFile(const std::filesystem::path& file);
    static Settings FromText(std::string_view text);

    std::optional<std::string> Get(std::string_view name) const;
    std::string GetString(std::string_view name, std::string_view fallback) const;
    // A value that is not a whole number gives the fallback.
    int GetInt(std::string_view name, int fallback) const;

private:
    std::map<std::string, std::string, std::less<>> values_;
};

}  // namespace velmora::platform
