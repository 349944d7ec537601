#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "CdImage.h"
#include "FrontTesting.h"
#include "LoopbackHttpServer.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace control = velmora::front::control;

namespace fs = std::filesystem;
using velmora::test::AnsweringDesktop;
using velmora::test::Click;
using velmora::test::LoopbackHttpServer;
using velmora::test::MakeWindow;
using velmora::test::ProcessEventsUntil;
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;

// Drive X stands for an image that is written and removed while the window is open.
class MediaArrivalTest : public ::testing::Test {
protected:
    MediaArrivalTest()
    {
        fs::create_directories(images);
        velmora::test::WriteFile(scratch / "velmora.conf", "CddbServer=" + server.address() + "\n");
        window = MakeWindow(desktop);
    }

    void Attach() { velmora::test::WriteCdImage(images, "disc", {{1, 440}, {1, 660}}); }
    void Detach()
    {
        fs::remove(images / "disc.cue");
        fs::remove(images / "disc.bin");
    }
    int Rows() const { return window->ConvertList().topLevelItemCount(); }

    ScratchFolder scratch;
    fs::path images = scratch / "images";
    LoopbackHttpServer server{[](const auto&) { return LoopbackHttpServer::Reply{"202 No match\r\n"}; }};
    ScopedEnvironment conf{"VELMORA_CONF", (scratch / "velmora.conf").string()};
    ScopedEnvironment drives{"VELMORA_DRIVES", "X=" + (images / "disc.cue").string()};
    AnsweringDesktop desktop;
    std::unique_ptr<velmora::front::CMediaMaster> window;
};

TEST_F(MediaArrivalTest, AttachingAndDetachingAnImageRereadsTheDriveInAudioConverter)
{
    Click(*window, control::kAudioConverterButton);
    ASSERT_EQ(Rows(), 0);

    Attach();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Rows() == 2; }, 10000));
    EXPECT_EQ(window->ConvertList().topLevelItem(1)->text(3), "Track02.cda");

    Detach();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Rows() == 0; }, 10000));
}

TEST_F(MediaArrivalTest, VideoConverterIgnoresDiscs)
{
    ScratchFolder clips;
    ASSERT_TRUE(velmora::test::MakeClip(clips / "a.avi", 1, 160, 120));
    Click(*window, control::kVideoConverterButton);
    window->ConvertList().AddListFile(QString::fromStdString((clips / "a.avi").string()));
    ASSERT_EQ(Rows(), 1);

    Attach();
    velmora::test::ProcessEvents(1000);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(window->ConvertList().columnCount(), 3);
    EXPECT_TRUE(server.requests().empty());
}

}  // namespace
