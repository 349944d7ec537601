#include "main/CMediaMaster.h"
#include "FrontTesting.h"
#include "main/LibraryMessages.h"

#include <gtest/gtest.h>

#include <future>

namespace {

using velmora::front::MessageKind;
using velmora::test::AnsweringDesktop;

TEST(LibraryMessages, AJobThreadsMessageIsShownByTheWindowAndWaitsForTheUser)
{
    AnsweringDesktop desktop;
    const auto window = velmora::test::MakeWindow(desktop);
    auto shown = std::async(std::launch::async, [] {
        velmora::front::ShowLibraryMessage("CD Drive is not ready or cannot read cd. Details: no disc", "Error");
    });
    while (shown.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) velmora::test::ProcessEvents();
    shown.get();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "CD Drive is not ready or cannot read cd. Details: no disc");
    EXPECT_EQ(desktop.messages[0].caption, "Error");
    EXPECT_EQ(desktop.messages[0].kind, MessageKind::Plain);
}

TEST(LibraryMessages, WithoutAWindowTheyGoToStandardError)
{
    AnsweringDesktop desktop;
    velmora::test::MakeWindow(desktop).reset();
    testing::internal::CaptureStderr();
    velmora::front::ShowLibraryMessage("text", "Error");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: text\n");
    EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
