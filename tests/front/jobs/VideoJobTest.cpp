#include "FrontTesting.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"
#include "jobs/VideoJob.h"

#include <QImage>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace velmora::front {
namespace {

namespace fs = std::filesystem;
using namespace velmora::test;
using namespace control;

class VideoJobTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        clips = new ScratchFolder;
        for (const char* name : {"a.avi", "b.avi", "c.avi"}) ASSERT_TRUE(MakeClip(*clips / name, 1, 160, 120));
        // Long enough that its conversion to MP4 outlasts several preview slices.
        ASSERT_TRUE(MakeClip(*clips / "long.avi", 8, 640, 480));
        WriteFile(*clips / "broken.avi", "not a video at all");
    }
    static void TearDownTestSuite()
    {
        delete clips;
        clips = nullptr;
    }

    VideoJobTest()
    {
        BindLibrary();
        host.folder = output.path().string();
    }

    void Run(int format, std::initializer_list<const char*> names, bool join = false, bool burn = false)
    {
        JobInput input{.mode = kModeVideoConverter, .formatRadio = format, .join = join, .burn = burn};
        for (const char* name : names) input.rows.push_back({.sourcePath = (*clips / name).string()});
        RunVideoJob(host, input);
    }

    static fs::path JoinFolder()
    {
        return fs::path(std::getenv("TMPDIR")) / ("velmora-" + std::to_string(getuid())) / "Temp_ConvertedFile";
    }

    static inline ScratchFolder* clips = nullptr;
    ScratchFolder output;
    FakeHost host;
};

TEST_F(VideoJobTest, EachClipIsConvertedIntoTheChosenFolderInTheChosenContainer)
{
    Run(kMp4Radio, {"a.avi", "b.avi"});
    for (const char* name : {"a.mp4", "b.mp4"}) {
        const std::string description = DescribeWithFfmpeg(output / name);
        EXPECT_NE(description.find("mov,mp4"), std::string::npos) << description;
        EXPECT_NE(description.find("Duration: 00:00:01"), std::string::npos) << description;
    }
    EXPECT_EQ(host.questions, 1);
    EXPECT_EQ(host.LastStatus(), "Converting - " + QString::fromStdString((*clips / "b.avi").string()) + "....");
    EXPECT_EQ(host.controls, (std::vector<bool>{true, false}));
    EXPECT_EQ(host.progressMaximum, 2);
    EXPECT_EQ(host.steps, 2);
    EXPECT_FALSE(host.state.Busy());
    EXPECT_TRUE(host.commands.empty());
    // Quick conversions end within one slice: no preview copy, no picture, no preview.
    EXPECT_FALSE(fs::exists(output / "a_tmp.mp4"));
    EXPECT_FALSE(fs::exists(output / "last_frame.png"));
    EXPECT_TRUE(host.previews.empty());

    Run(kMovRadio, {"a.avi"});
    EXPECT_NE(DescribeWithFfmpeg(output / "a.mov").find("mov,mp4"), std::string::npos);
}

TEST_F(VideoJobTest, AFileWithoutOutputIsNamedAndCounted)
{
    Run(kMp4Radio, {"a.avi", "broken.avi"});
    EXPECT_TRUE(fs::exists(output / "a.mp4"));
    EXPECT_FALSE(fs::exists(output / "broken.mp4"));
    EXPECT_TRUE(host.statuses.contains("broken.avi - failed"));
    EXPECT_EQ(host.LastStatus(), "1 file failed");
}

TEST_F(VideoJobTest, ALongConversionShowsItsProgressInThePreviewOnlyWithABitRate)
{
    host.state.SetPollInterval(std::chrono::milliseconds(20));
    Run(kFirstOptionRadio, {"long.avi"});   // no bit rates: nothing to place a preview by
    EXPECT_TRUE(fs::exists(output / "long.avi"));
    EXPECT_FALSE(fs::exists(output / "last_frame.png"));
    EXPECT_TRUE(host.previews.empty());

    host.collect = [](FakeHost::Request& request, const FakeHost::Request*) {
        request.nAudioBitRate = 64;
        request.nVideoBitRate = 300;
    };
    Run(kMp4Radio, {"long.avi"});
    EXPECT_TRUE(fs::exists(output / "long.mp4"));
    EXPECT_TRUE(fs::exists(output / "long_tmp.mp4"));
    ASSERT_FALSE(host.previews.empty());
    EXPECT_EQ(host.previews.back(), (output / "last_frame.png").string());
    EXPECT_FALSE(QImage(QString::fromStdString(host.previews.back())).isNull());
    EXPECT_EQ(host.hidden, 2);   // once after each file
}

TEST_F(VideoJobTest, JoiningMakesOneFileFromTheFirstClipsFiguresAndBurningHandsItOn)
{
    int defaultWidth = 0;
    host.collect = [&](FakeHost::Request&, const FakeHost::Request* defaults) {
        defaultWidth = defaults ? defaults->nWidth : -1;
    };
    host.joinedFile = (output / "joined").string();
    Run(kMp4Radio, {"a.avi", "b.avi", "c.avi"}, true);
    EXPECT_EQ(defaultWidth, 160);
    EXPECT_NE(DescribeWithFfmpeg(output / "joined.mp4").find("Video: "), std::string::npos);
    EXPECT_EQ(host.questions, 1);   // the save dialog only
    for (const char* name : {"a.mp4", "b.mp4", "c.mp4", "join_Intermediate.mp4"})
        EXPECT_FALSE(fs::exists(JoinFolder() / name)) << name;
    EXPECT_EQ(host.LastStatus(), "Joining Files....");
    EXPECT_FALSE(host.state.HasPendingOutputs());
    EXPECT_TRUE(host.commands.empty());

    host.joinedFile = (output / "burnt").string();
    Run(kMp4Radio, {"a.avi", "b.avi"}, true, true);
    EXPECT_EQ(host.state.TakePendingOutputs(), (std::vector<std::string>{(output / "burnt.mp4").string()}));
    EXPECT_EQ(host.commands, (std::vector<int>{command::kBurnPendingOutputs}));
}

}  // namespace
}  // namespace velmora::front
