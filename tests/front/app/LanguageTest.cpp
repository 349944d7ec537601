#include "ScratchFolder.h"
#include "app/Display.h"
#include "app/SystemLanguage.h"

#include <gtest/gtest.h>

namespace velmora::front {
namespace {

using velmora::test::ScopedEnvironment;

TEST(Language, OnlyUsEnglishOfTheLocalesAbbreviationsChoosesEnglish)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"en_US.UTF-8", "ENU", true},  {"en_US", "ENU", true},   {"en_GB.UTF-8", "ENG", false},
        {"en_AU", "ENA", false},       {"de_DE.UTF-8", "DEU", false}, {"es_ES.UTF-8@euro", "ESN", false},
        {"sv_SE.UTF-8", "SVS", false}, {"fr_FR.UTF-8", "FRA", false}, {"C.UTF-8", "", false},
        {"POSIX", "", false},          {"C", "", false},          {"", "", false},
    };
    for (const auto& [locale, abbreviation, english] : cases) {
        EXPECT_EQ(AbbreviatedLanguageName(locale), abbreviation) << locale;
        EXPECT_EQ(ChoosesEnglish(locale), english) << locale;
    }
}

TEST(Language, TheMachineLocaleDecidesNotTheUsers)
{
    const ScopedEnvironment userLang("LANG", "es_ES.UTF-8");
    const ScopedEnvironment userAll("LC_ALL", "es_ES.UTF-8");
    {
        const ScopedEnvironment machine("VELMORA_SYSTEM_LOCALE", "en_US.UTF-8");
        EXPECT_TRUE(ChoosesEnglish(SystemLocaleName()));
    }
    const ScopedEnvironment englishUser("LANG", "en_US.UTF-8");
    const ScopedEnvironment machine("VELMORA_SYSTEM_LOCALE", "es_ES.UTF-8");
    EXPECT_FALSE(ChoosesEnglish(SystemLocaleName()));
}

TEST(Language, MachineLocaleFilesAreReadInOrder)
{
    const ScopedEnvironment noOverride("VELMORA_SYSTEM_LOCALE", std::nullopt);
    const ScopedEnvironment userLang("LANG", "en_US.UTF-8");
    velmora::test::ScratchFolder folder;
    velmora::test::WriteFile(folder / "default-locale",
                             "# written by the installer\n  LANG=\"en_GB.UTF-8\"\nLANGUAGE=en_GB:en\n");
    velmora::test::WriteFile(folder / "locale.conf", "LANG=en_US.UTF-8\n");
    EXPECT_EQ(SystemLocaleName({folder / "default-locale", folder / "locale.conf"}), "en_GB.UTF-8");
    EXPECT_EQ(SystemLocaleName({folder / "missing", folder / "locale.conf"}), "en_US.UTF-8");
    EXPECT_EQ(SystemLocaleName({folder / "missing"}), "");
}

TEST(Display, NeedsADisplayOrAnExplicitPlatform)
{
    const ScopedEnvironment noX("DISPLAY", "");
    const ScopedEnvironment noWayland("WAYLAND_DISPLAY", std::nullopt);
    {
        const ScopedEnvironment noPlatform("QT_QPA_PLATFORM", std::nullopt);
        EXPECT_FALSE(DisplayAvailable());
        const ScopedEnvironment wayland("WAYLAND_DISPLAY", "wayland-0");
        EXPECT_TRUE(DisplayAvailable());
    }
    const ScopedEnvironment offscreen("QT_QPA_PLATFORM", "offscreen");
    EXPECT_TRUE(DisplayAvailable());
}

}  // namespace
}  // namespace velmora::front
