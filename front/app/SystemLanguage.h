#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::front {

// The machine's locale, not the user's: VELMORA_SYSTEM_LOCALE when set, else LANG from the
// first of the files that names one. Empty when none is readable.
std::string SystemLocaleName(const std::vector<std::filesystem::path>& localeFiles = {"/etc/default/locale",
                                                                                     "/etc/locale.conf"});

// The three-letter language abbreviation ("ENU" for en_US, "ENG" for en_GB, "ESN" for es_ES);
// empty for a locale without a language ("C", "POSIX", "").
std::string AbbreviatedLanguageName(std::string_view locale);

// Only US English selects the English texts; everything else, no locale included, selects Spanish.
bool ChoosesEnglish(std::string_view locale);

}  // namespace velmora::front
