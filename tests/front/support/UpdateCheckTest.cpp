#include "FrontTesting.h"
#include "LoopbackHttpServer.h"
#include "ScratchFolder.h"
#include "main/CMediaMaster.h"

#include <gtest/gtest.h>

#include <chrono>

namespace velmora::front {
namespace {

using namespace velmora::test;

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
    // Status, body, language and answer; the question asked.
    const std::tuple<int, std::string, bool, bool, Messages> cases[] = {
        {200, "", true, true, {}},
        {404, "<html>Not Found</html>", true, true,
         {{"New Updates are available.\n\nDo you want to check it.", "Velmora Updates", MessageKind::Question}}},
        {200, "1.3", false, false,
         {{QString::fromUtf8(SpanishStrings()[kRowUpdatesAvailable]), QString::fromUtf8("Actualización Velmora"),
           MessageKind::Question}}},
    };
    for (const auto& [status, body, english, yes, asked] : cases) {
        LoopbackHttpServer server([&](const auto&) { return LoopbackHttpServer::Reply{body, status}; });
        desktop = AnsweringDesktop();
        desktop.answer = yes;
        CheckWith(server.address(), english);
        ASSERT_EQ(server.requests().size(), 1u);
        const std::string request = server.requests()[0].headers;
        EXPECT_EQ(request.rfind("GET /updates.php?version=1.2 HTTP/1.1\r\n", 0), 0u) << request;
        EXPECT_NE(request.find("\r\nUser-Agent: Check Velmora Updates/1.0"), std::string::npos) << request;
        EXPECT_EQ(desktop.messages, asked) << status;
        const std::vector<QUrl> opened{QUrl("http://" + QString::fromStdString(server.address()) + "/newupdate.php")};
        EXPECT_EQ(desktop.openedUrls, !asked.empty() && yes ? opened : std::vector<QUrl>{}) << status;
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
