#include "SystemLanguage.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <utility>

namespace velmora::front {
namespace {

std::string Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

// LANG=... in a shell-style file, quotes removed.
std::string LangFromFile(const std::filesystem::path& file)
{
    std::ifstream stream(file);
    std::string line;
    while (std::getline(stream, line)) {
        std::string text = Trimmed(line);
        if (text.rfind("export ", 0) == 0) text = Trimmed(text.substr(7));
        if (text.rfind("LANG=", 0) != 0) continue;
        std::string value = Trimmed(text.substr(5));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return {};
}

std::string Upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

// The other system's names where they do not follow "language + first letter of the country".
constexpr std::array<std::pair<std::string_view, std::string_view>, 22> kKnownAbbreviations{{
    {"en_US", "ENU"}, {"en_GB", "ENG"}, {"en_AU", "ENA"}, {"en_CA", "ENC"}, {"en_NZ", "ENZ"},
    {"en_IE", "ENI"}, {"en_ZA", "ENS"}, {"es_ES", "ESN"}, {"es_MX", "ESM"}, {"es_AR", "ESS"},
    {"fr_FR", "FRA"}, {"fr_CA", "FRC"}, {"de_DE", "DEU"}, {"de_AT", "DEA"}, {"de_CH", "DES"},
    {"it_IT", "ITA"}, {"pt_BR", "PTB"}, {"pt_PT", "PTG"}, {"nl_NL", "NLD"}, {"ja_JP", "JPN"},
    {"zh_CN", "CHS"}, {"ru_RU", "RUS"},
}};

}  // namespace

std::string SystemLocaleName(const std::vector<std::filesystem::path>& localeFiles)
{
    if (const char* forced = std::getenv("VELMORA_SYSTEM_LOCALE")) return forced;
    for (const auto& file : localeFiles)
        if (auto lang = LangFromFile(file); !lang.empty()) return lang;
    return {};
}

std::string AbbreviatedLanguageName(std::string_view locale)
{
    const auto end = locale.find_first_of(".@");
    const std::string_view name = locale.substr(0, end);
    const auto separator = name.find('_');
    const std::string_view language = name.substr(0, separator);
    if (language.size() < 2 || language == "C" || language == "POSIX") return {};
    const std::string_view country = separator == std::string_view::npos ? std::string_view{} : name.substr(separator + 1);
    const std::string key = std::string(language) + "_" + Upper(country);
    for (const auto& [known, abbreviation] : kKnownAbbreviations)
        if (known == key) return std::string(abbreviation);
    return Upper(language.substr(0, 2)) + Upper(country.substr(0, 1));
}

bool ChoosesEnglish(std::string_view locale)
{
    return AbbreviatedLanguageName(locale) == "ENU";
}

}  // namespace velmora::front
