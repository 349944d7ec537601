// The machine's locale file picks the window's language: any file there must give a locale
// name, and any locale name a language abbreviation, without trouble.

#include "FuzzTarget.h"
#include "SystemLanguage.h"

#include <cstdlib>

namespace {

void CheckAbbreviation(std::string_view locale)
{
    const auto abbreviation = velmora::front::AbbreviatedLanguageName(locale);
    const auto language = locale.substr(0, locale.find_first_of("._@"));
    FUZZ_CHECK(abbreviation.size() <= 3);
    FUZZ_CHECK(abbreviation.empty() == (language.size() < 2 || language == "POSIX"));
    FUZZ_CHECK(velmora::front::ChoosesEnglish(locale) == (abbreviation == "ENU"));
}

}  // namespace

VELMORA_FUZZ_TARGET(locale_file)
{
    ::unsetenv("VELMORA_SYSTEM_LOCALE");   // else no file is read
    const auto locale = velmora::front::SystemLocaleName({velmora::fuzz::InputFile("locale", input)});
    // Only a LANG= line names a locale, by the rest of that one line.
    FUZZ_CHECK(locale.empty() || input.find("LANG=") != std::string_view::npos);
    FUZZ_CHECK(locale.find('\n') == std::string::npos && input.find(locale) != std::string_view::npos);
    CheckAbbreviation(locale);
    CheckAbbreviation(input);
}
