// The machine's locale file picks the window's language: any file there must give a locale
// name, and any locale name a language abbreviation, without trouble.

#include "FuzzTarget.h"
#include "SystemLanguage.h"

#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// A file in memory whose content each input replaces, named by its /proc path.
const std::filesystem::path& LocaleFile(std::string_view bytes)
{
    static const int file = ::memfd_create("locale", MFD_CLOEXEC);
    static const std::filesystem::path path = "/proc/self/fd/" + std::to_string(file);
    FUZZ_CHECK(file >= 0 && ::ftruncate(file, 0) == 0);
    FUZZ_CHECK(::pwrite(file, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
    return path;
}

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
    const auto locale = velmora::front::SystemLocaleName({LocaleFile(input)});
    // Only a LANG= line names a locale, by the rest of that one line.
    FUZZ_CHECK(locale.empty() || input.find("LANG=") != std::string_view::npos);
    FUZZ_CHECK(locale.find('\n') == std::string::npos && input.find(locale) != std::string_view::npos);
    CheckAbbreviation(locale);
    CheckAbbreviation(input);
}
