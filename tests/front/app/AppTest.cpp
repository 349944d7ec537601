#include "FrontTesting.h"
#include "ScratchFolder.h"
#include "app/Display.h"
#include "app/SystemLanguage.h"
#include "core/LumetraBinding.h"
#include "core/UiStrings.h"
#include "main/ModeTables.h"
#include "process/Process.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::front {
namespace {

using namespace velmora::test;

TEST(UiStrings, BothTablesKeepTheSameRowsEmptyGiveEveryRowReadATextAndAreDecodedAsUtf8)
{
    std::set<int> read{kRowTitle, kRowWelcome, kRowCancel, kRowConverting, kRowBurnCompleted, kRowMediaNotWritable};
    for (int mode = kModeWelcome; mode <= kModeDvdDataBurner; ++mode)
        for (const ModeCaption& caption : ControlsOfMode(mode).captions)
            if (caption.row >= 0) read.insert(caption.row);
    const UiStrings english(true), spanish(false);
    for (int row = 0; row < kUiStringCount; ++row) {
        ASSERT_TRUE(EnglishStrings()[row] && SpanishStrings()[row]) << row;
        EXPECT_EQ(english[row].isEmpty(), spanish[row].isEmpty()) << row;
        EXPECT_TRUE(!read.count(row) || !english[row].isEmpty()) << row;
        EXPECT_EQ(spanish[row].toUtf8(), QByteArray(SpanishStrings()[row])) << row;
    }
    EXPECT_TRUE(english.english() && !spanish.english());
}

TEST(Language, OnlyUsEnglishOfTheMachinesLocaleChoosesEnglish)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"en_US.UTF-8", "ENU", true}, {"en_US", "ENU", true},         {"en_GB.UTF-8", "ENG", false},
        {"en_AU", "ENA", false},      {"de_DE.UTF-8", "DEU", false},  {"es_ES.UTF-8@euro", "ESN", false},
        {"sv_SE", "SVS", false},      {"C.UTF-8", "", false},         {"POSIX", "", false},
        {"", "", false},
    };
    for (const auto& [locale, abbreviation, english] : cases) {
        EXPECT_EQ(AbbreviatedLanguageName(locale), abbreviation) << locale;
        EXPECT_EQ(ChoosesEnglish(locale), english) << locale;
    }
    // The machine's locale decides, not the user's: the override, else the first file naming one.
    const ScopedEnvironment userLang("LANG", "es_ES.UTF-8");
    const ScopedEnvironment userAll("LC_ALL", "es_ES.UTF-8");
    {
        const ScopedEnvironment machine("VELMORA_SYSTEM_LOCALE", "en_US.UTF-8");
        EXPECT_EQ(SystemLocaleName(), "en_US.UTF-8");
    }
    const ScopedEnvironment noOverride("VELMORA_SYSTEM_LOCALE", std::nullopt);
    ScratchFolder folder;
    WriteFile(folder / "default-locale", "# written by the installer\n  LANG=\"en_GB.UTF-8\"\nLANGUAGE=en_GB:en\n");
    WriteFile(folder / "locale.conf", "LANG=en_US.UTF-8\n");
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

TEST(LumetraBinding, BindsWhatTheLibraryExportsAndLeavesTheRestEmpty)
{
    LumetraBinding binding;
    ASSERT_TRUE(binding.Bind(PARTIAL_LUMETRA));
    EXPECT_TRUE(binding.Has(Export::GetDefaultPara) && !binding.Has(Export::GetPlayLength));
    EXPECT_EQ(binding.GetPlayLength(), nullptr);
    EXPECT_EQ(binding.Unbound().size(), LumetraBinding::kNames.size() - 2);
    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    EXPECT_EQ(binding.GetDefaultPara()(&request), 1);
    EXPECT_EQ(request.nWidth, 640);
    // A conversion chosen at run time is found only among the conversions.
    EXPECT_EQ(binding.Converter(Export::Convert_Video_TO_AVI), binding.Convert_Video_TO_AVI());
    EXPECT_NE(binding.Converter(Export::Convert_Video_TO_AVI), nullptr);
    EXPECT_EQ(binding.Converter(Export::GetDefaultPara), nullptr);

    // Binding anew replaces every entry.
    ASSERT_TRUE(binding.Bind(DefaultLibraryPath()));
    EXPECT_TRUE(binding.Unbound().empty());
    const ScratchFolder folder;
    EXPECT_FALSE(binding.Bind(folder / "libMissing.so"));
    EXPECT_EQ(binding.Unbound().size(), LumetraBinding::kNames.size());
}

TEST(Startup, WithoutADisplayTheProgramSaysSoInOneLineAndFails)
{
    const ScopedEnvironment noX("DISPLAY", std::nullopt);
    const ScopedEnvironment noWayland("WAYLAND_DISPLAY", std::nullopt);
    const ScopedEnvironment noPlatform("QT_QPA_PLATFORM", std::nullopt);
    ScratchFolder folder;
    platform::SpawnOptions options;
    options.stderrFile = folder / "stderr";
    const auto outcome = platform::RunAndWait({ORVANE_PROGRAM}, options);
    ASSERT_TRUE(outcome.started);
    EXPECT_NE(outcome.exitStatus, 0);
    const std::string said = ReadFile(folder / "stderr");
    // The library may log its system line there too; the program's own word is one line.
    const auto at = said.find("orvane: no display available");
    ASSERT_NE(at, std::string::npos) << said;
    EXPECT_EQ(said.find('\n', at), said.size() - 1) << said;
}

}  // namespace
}  // namespace velmora::front
