#include "main/CMediaMaster.h"
#include "FrontTesting.h"
#include "LoopbackHttpServer.h"
#include "ScratchFolder.h"
#include "support/UpdateCheck.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using velmora::front::MessageKind;
using velmora::test::AnsweringDesktop;
using velmora::test::LoopbackHttpServer;
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;

LoopbackHttpServer::Handler Answer(int status, std::string body)
{
    return [status, body](const auto&) { return LoopbackHttpServer::Reply{body, status}; };
}

class UpdateCheckTest : public ::testing::Test {
protected:
    // The window reads the server from the settings file, as the program does.
    std::unique_ptr<velmora::front::CMediaMaster> StartWindow(const std::string& server, bool english = true)
    {
        velmora::test::WriteFile(folder / "velmora.conf", "# test settings\nUpdateServer=" + server + "\n");
        return velmora::test::MakeWindow(desktop, english);
    }
    // The check has ended and its question, if any, has reached the window thread.
    static void Finish(velmora::front::CMediaMaster& window)
    {
        window.UpdateCheck().Wait();
        velmora::test::ProcessEvents(20);
    }

    ScratchFolder folder;
    ScopedEnvironment settings{"VELMORA_CONF", (folder / "velmora.conf").string()};
    ScopedEnvironment noProxy{"no_proxy", "127.0.0.1"};
    AnsweringDesktop desktop;
};

TEST_F(UpdateCheckTest, AnEmptyBodyOffersNothing)
{
    LoopbackHttpServer server(Answer(200, ""));
    const auto window = StartWindow(server.address());
    Finish(*window);
    ASSERT_EQ(server.requests().size(), 1u);
    const std::string request = server.requests()[0].headers;
    EXPECT_EQ(request.rfind("GET /updates.php?version=1.2 HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nUser-Agent: Check Velmora Updates/1.0"), std::string::npos) << request;
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(UpdateCheckTest, AnyBodyAsksEvenWithAnErrorStatusAndYesOpensTheUpdatePage)
{
    LoopbackHttpServer server(Answer(404, "<html>Not Found</html>"));
    const auto window = StartWindow(server.address());
    Finish(*window);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "New Updates are available.\n\nDo you want to check it.");
    EXPECT_EQ(desktop.messages[0].caption, "Velmora Updates");
    EXPECT_EQ(desktop.messages[0].kind, MessageKind::Question);
    ASSERT_EQ(desktop.openedUrls.size(), 1u);
    EXPECT_EQ(desktop.openedUrls[0].toString().toStdString(), "http://" + server.address() + "/newupdate.php");
}

TEST_F(UpdateCheckTest, NoOpensNothingAndTheQuestionSpeaksTheWindowsLanguage)
{
    LoopbackHttpServer server(Answer(200, "1.3"));
    desktop.defaultAnswer = false;
    const auto window = StartWindow(server.address(), false);
    Finish(*window);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].caption, QString::fromUtf8("Actualización Velmora"));
    EXPECT_TRUE(desktop.openedUrls.empty());
}

TEST_F(UpdateCheckTest, AnUnreachableServerShowsNothing)
{
    const auto window = StartWindow("127.0.0.1:" + std::to_string(velmora::test::UnusedLoopbackPort()));
    Finish(*window);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(UpdateCheckTest, NoServerMeansNoCheck)
{
    LoopbackHttpServer server(Answer(200, "update"));
    const auto window = StartWindow("");
    Finish(*window);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(UpdateCheckTest, ClosingTheWindowCutsASilentServerShort)
{
    LoopbackHttpServer server([](const auto&) { return LoopbackHttpServer::Reply{"update", 200, true}; });
    const auto started = std::chrono::steady_clock::now();
    {
        const auto window = StartWindow(server.address());
        while (server.requests().empty() && std::chrono::steady_clock::now() - started < std::chrono::seconds(5))
            velmora::test::ProcessEvents(10);
        ASSERT_EQ(server.requests().size(), 1u);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
