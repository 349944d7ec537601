#include "FrontTesting.h"
#include "LoopbackHttpServer.h"
#include "ScratchFolder.h"
#include "app/Display.h"
#include "app/EndRequests.h"
#include "app/SystemLanguage.h"
#include "core/LumetraBinding.h"
#include "core/UiStrings.h"
#include "main/CMediaMaster.h"
#include "main/ModeTables.h"
#include "process/Process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
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

TEST(LumetraBinding, BindsWhatTheLibraryExportsAndLeavesTheRestEmpty)
{
    LumetraBinding binding;
    ASSERT_TRUE(binding.Bind(PARTIAL_LUMETRA));
    EXPECT_TRUE(binding.Has(Export::GetDefaultPara) && !binding.Has(Export::GetMediaFacts));
    EXPECT_EQ(binding.GetMediaFacts(), nullptr);
    EXPECT_EQ(binding.Unbound().size(), LumetraBinding::kNames.size() - 2);
    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    EXPECT_EQ(binding.GetDefaultPara()(&request), 1);
    EXPECT_EQ(request.nWidth, 640);

    // Binding anew replaces every entry.
    ASSERT_TRUE(binding.Bind(DefaultLibraryPath()));
    EXPECT_TRUE(binding.Unbound().empty());
    const ScratchFolder folder;
    EXPECT_FALSE(binding.Bind(folder / "libMissing.so"));
    EXPECT_EQ(binding.Unbound().size(), LumetraBinding::kNames.size());
}

TEST(Startup, WithoutADisplayOrAnExplicitPlatformTheProgramSaysSoInOneLineAndFails)
{
    const ScopedEnvironment noX("DISPLAY", "");
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
    {
        const ScopedEnvironment wayland("WAYLAND_DISPLAY", "wayland-0");
        EXPECT_TRUE(DisplayAvailable());
    }
    const ScopedEnvironment offscreen("QT_QPA_PLATFORM", "offscreen");
    EXPECT_TRUE(DisplayAvailable());
}

TEST(EndRequests, AnEndSignalBecomesACallOnTheUiThreadWhileCaughtAndOnesIgnoredAtStartStayIgnored)
{
    TestApplication();
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_IGN);   // as under nohup
    int calls = 0;
    {
        const EndRequests requests([&] { ++calls; });
        ASSERT_TRUE(requests.Catching());
        std::raise(SIGHUP);
        ProcessEvents(50);
        EXPECT_EQ(calls, 0);
        std::raise(SIGTERM);
        ASSERT_TRUE(ProcessEventsUntil([&] { return calls == 1; }, 5000));
    }
    const auto handling = [](int signal) {
        struct sigaction now{};
        sigaction(signal, nullptr, &now);
        return now.sa_handler;
    };
    EXPECT_EQ(handling(SIGTERM), SIG_DFL);
    EXPECT_EQ(handling(SIGHUP), SIG_IGN);
    std::signal(SIGHUP, SIG_DFL);
}

class UpdateCheckTest : public ::testing::Test {
protected:
    // The window reads the server from the settings file, as the program does.
    std::unique_ptr<CMediaMaster> StartWindow(const std::string& server, bool english = true)
    {
        WriteFile(folder / "velmora.conf", "# test settings\nUpdateServer=" + server + "\n");
        return MakeWindow(desktop, english);
    }
    // The check has ended and its question, if any, has reached the window thread.
    void CheckWith(const std::string& server, bool english = true)
    {
        const auto window = StartWindow(server, english);
        window->UpdateCheck().Wait();
        ProcessEvents(20);
        EXPECT_TRUE(window->isVisible());
    }

    ScratchFolder folder;
    ScopedEnvironment settings{"VELMORA_CONF", (folder / "velmora.conf").string()};
    ScopedEnvironment noProxy{"no_proxy", "127.0.0.1"};
    AnsweringDesktop desktop;
};

TEST_F(UpdateCheckTest, AnyBodyAsksEvenWithAnErrorStatusAndYesOpensTheUpdatePage)
{
    // Status, body, language and answer; whether the user is asked.
    const std::tuple<int, std::string, bool, bool, bool> cases[] = {
        {200, "", true, true, false}, {404, "<html>Not Found</html>", true, true, true},
        {200, "1.3", false, false, true}};
    for (const auto& [status, body, english, yes, asked] : cases) {
        const UiStrings strings(english);
        const Messages question{{strings[kRowUpdatesAvailable], strings[kRowUpdatesCaption], MessageKind::Question}};
        LoopbackHttpServer server([&](const auto&) { return LoopbackHttpServer::Reply{body, status}; });
        desktop = AnsweringDesktop();
        desktop.answer = yes;
        CheckWith(server.address(), english);
        ASSERT_EQ(server.requests().size(), 1u);
        const std::string request = server.requests()[0].headers;
        EXPECT_EQ(request.rfind("GET /updates.php?version=1.2 HTTP/1.1\r\n", 0), 0u) << request;
        EXPECT_NE(request.find("\r\nUser-Agent: Check Velmora Updates/1.0"), std::string::npos) << request;
        EXPECT_EQ(desktop.messages, asked ? question : Messages{}) << status;
        const std::vector<QUrl> opened{QUrl("http://" + QString::fromStdString(server.address()) + "/newupdate.php")};
        EXPECT_EQ(desktop.openedUrls, asked && yes ? opened : std::vector<QUrl>{}) << status;
    }
}

TEST_F(UpdateCheckTest, NoServerOrAnUnreachableOneShowsNothingAndClosingCutsASilentOneShort)
{
    LoopbackHttpServer silent([](const auto&) { return LoopbackHttpServer::Reply{"update", 200, true}; });
    CheckWith("");
    EXPECT_TRUE(silent.requests().empty());
    CheckWith("127.0.0.1:" + std::to_string(UnusedLoopbackPort()));

    const auto started = std::chrono::steady_clock::now();
    {
        const auto window = StartWindow(silent.address());
        ASSERT_TRUE(ProcessEventsUntil([&] { return !silent.requests().empty(); }, 5000));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace velmora::front
