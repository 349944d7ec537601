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
    // The window reads the server from the settings file, as the program does, and the check
    // ends with its question, if any, on the window thread.
    std::unique_ptr<CMediaMaster> CheckWith(const std::string& server, bool english = true)
    {
        WriteFile(folder / "velmora.conf", "# test settings\nUpdateServer=" + server + "\n");
        auto window = MakeWindow(desktop, english);
        window->UpdateCheck().Wait();
        ProcessEvents(20);
        return window;
    }

    ScratchFolder folder;
    ScopedEnvironment settings{"VELMORA_CONF", (folder / "velmora.conf").string()};
    ScopedEnvironment noProxy{"no_proxy", "127.0.0.1"};
    AnsweringDesktop desktop;
};

TEST_F(UpdateCheckTest, AnyBodyAsksEvenWithAnErrorStatusAndYesOpensTheUpdatePage)
{
    struct Answer {
        int status;
        std::string body;
        bool english;
        bool yes;
    };
    for (const Answer& answer : {Answer{200, "", true, true}, Answer{404, "<html>Not Found</html>", true, true},
                                 Answer{200, "1.3", false, false}}) {
        LoopbackHttpServer server([&](const auto&) { return LoopbackHttpServer::Reply{answer.body, answer.status}; });
        desktop = AnsweringDesktop();
        desktop.answer = answer.yes;
        CheckWith(server.address(), answer.english);
        ASSERT_EQ(server.requests().size(), 1u);
        const std::string request = server.requests()[0].headers;
        EXPECT_EQ(request.rfind("GET /updates.php?version=1.2 HTTP/1.1\r\n", 0), 0u) << request;
        EXPECT_NE(request.find("\r\nUser-Agent: Check Velmora Updates/1.0"), std::string::npos) << request;
        if (answer.body.empty()) {
            EXPECT_TRUE(desktop.messages.empty());
            continue;
        }
        ASSERT_EQ(desktop.messages.size(), 1u) << answer.status;
        EXPECT_EQ(desktop.messages[0].kind, MessageKind::Question);
        if (answer.english) {
            EXPECT_EQ(desktop.messages[0].text, "New Updates are available.\n\nDo you want to check it.");
            EXPECT_EQ(desktop.messages[0].caption, "Velmora Updates");
        } else {
            EXPECT_EQ(desktop.messages[0].caption, QString::fromUtf8("Actualización Velmora"));
        }
        ASSERT_EQ(desktop.openedUrls.size(), answer.yes ? 1u : 0u);
        if (answer.yes) {
            EXPECT_EQ(desktop.openedUrls[0].toString().toStdString(), "http://" + server.address() + "/newupdate.php");
        }
    }
}

TEST_F(UpdateCheckTest, NoServerOrAnUnreachableOneShowsNothing)
{
    LoopbackHttpServer server([](const auto&) { return LoopbackHttpServer::Reply{"update"}; });
    EXPECT_TRUE(CheckWith("")->isVisible());
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(CheckWith("127.0.0.1:" + std::to_string(UnusedLoopbackPort()))->isVisible());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(UpdateCheckTest, ClosingTheWindowCutsASilentServerShort)
{
    LoopbackHttpServer server([](const auto&) { return LoopbackHttpServer::Reply{"update", 200, true}; });
    WriteFile(folder / "velmora.conf", "UpdateServer=" + server.address() + "\n");
    const auto started = std::chrono::steady_clock::now();
    {
        const auto window = MakeWindow(desktop);
        ASSERT_TRUE(ProcessEventsUntil([&] { return !server.requests().empty(); }, 5000));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace velmora::front
