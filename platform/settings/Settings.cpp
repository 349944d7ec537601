#include "Settings.h"

#include "files/PlainFile.h"
#include "text/Trim.h"

#include <charconv>
#include <cstdlib>

namespace velmora::platform {

Settings Settings::Load()
{
    const char* custom = std::getenv(kPathVariable);
    return FromFile(custom && *custom ? custom : kDefaultPath);
}

Settings Settings::FromFile(const std::filesystem::path& file)
{
    // Only a plain file, and only its beginning: settings are a few lines, and a device or a
    // pipe named here must not be read for ever.
    const auto text = ReadPlainFileHead(file, kSizeLimit);
    return text ? FromText(*text) : Settings{};
}

Settings Settings::FromText(std::string_view text)
{
    Settings settings;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == '#') continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const auto name = Trim(line.substr(0, equals));
        if (name.empty()) continue;
        settings.values_.insert_or_assign(std::string(name), std::string(Trim(line.substr(equals + 1))));
    }
    return settings;
}

std::optional<std::string> Settings::Get(std::string_view name) const
{
    const auto found = values_.find(name);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::string Settings::GetString(std::string_view name, std::string_view fallback) const
{
    return Get(name).value_or(std::string(fallback));
}

int Settings::GetInt(std::string_view name, int fallback) const
{
    const auto value = Get(name);
    if (!value || value->empty()) return fallback;
    int number = 0;
    const char* first = value->data();
    const char* last = first + value->size();
    if (*first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc{} || end != last) return fallback;
    return number;
}

}  // namespace velmora::platform
