#include "app/Display.h"
#include "ScratchFolder.h"
#include "app/SystemLanguage.h"

#include <gtest/gtest.h>

namespace {

using velmora::front::AbbreviatedLanguageName;
using velmora::front::ChoosesEnglish;
using velmora::front::SystemLocaleName;
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

TEST(Language, AbbreviationsFollowLanguageAndCountry)
{
    EXPECT_EQ(AbbreviatedLanguageName("en_US.UTF-8"), "ENU");
    EXPECT_EQ(AbbreviatedLanguageName("en_GB.UTF-8"), "ENG");
    EXPECT_EQ(AbbreviatedLanguageName("en_AU"), "ENA");
    EXPECT_EQ(AbbreviatedLanguageName("es_ES.UTF-8@euro"), "ESN");
    EXPECT_EQ(AbbreviatedLanguageName("de_DE.UTF-8"), "DEU");
    EXPECT_EQ(AbbreviatedLanguageName("sv_SE.UTF-8"), "SVS");
    EXPECT_EQ(AbbreviatedLanguageName("C.UTF-8"), "");
    EXPECT_EQ(AbbreviatedLanguageName("POSIX"), "");
    EXPECT_EQ(AbbreviatedLanguageName(""), "");
}

TEST(Language, OnlyUsEnglishChoosesEnglish)
{
    EXPECT_TRUE(ChoosesEnglish("en_US.UTF-8"));
    EXPECT_TRUE(ChoosesEnglish("en_US"));
    EXPECT_FALSE(ChoosesEnglish("en_GB.UTF-8"));   // ENG
    EXPECT_FALSE(ChoosesEnglish("en_AU.UTF-8"));   // ENA
    EXPECT_FALSE(ChoosesEnglish("es_ES.UTF-8"));   // ESN
    EXPECT_FALSE(ChoosesEnglish("fr_FR.UTF-8"));
    EXPECT_FALSE(ChoosesEnglish(""));              // no locale
    EXPECT_FALSE(ChoosesEnglish("C"));
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
    ScratchFolder folder;
    WriteFile(folder / "default-locale", "# written by the installer\n  LANG=\"en_GB.UTF-8\"\nLANGUAGE=en_GB:en\n");
    WriteFile(folder / "locale.conf", "LANG=en_US.UTF-8\n");
    EXPECT_EQ(SystemLocaleName({folder / "default-locale", folder / "locale.conf"}), "en_GB.UTF-8");
    EXPECT_EQ(SystemLocaleName({folder / "missing", folder / "locale.conf"}), "en_US.UTF-8");
    EXPECT_EQ(SystemLocaleName({folder / "missing"}), "");
    EXPECT_FALSE(ChoosesEnglish(SystemLocaleName({folder / "missing"})));
}

TEST(Display, NeedsADisplayOrAnExplicitPlatform)
{
    const ScopedEnvironment noX("DISPLAY", "");
    const ScopedEnvironment noWayland("WAYLAND_DISPLAY", std::nullopt);
    {
        const ScopedEnvironment noPlatform("QT_QPA_PLATFORM", std::nullopt);
        EXPECT_FALSE(velmora::front::DisplayAvailable());
        const ScopedEnvironment wayland("WAYLAND_DISPLAY", "wayland-0");
        EXPECT_TRUE(velmora::front::DisplayAvailable());
    }
    const ScopedEnvironment offscreen("QT_QPA_PLATFORM", "offscreen");
    EXPECT_TRUE(velmora::front::DisplayAvailable());
}

}  // namespace
