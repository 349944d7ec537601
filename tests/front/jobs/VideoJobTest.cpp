#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "support/CShowThumbNail.h"
#include "lists/Entries.h"
#include "FrontTesting.h"
#include "lists/ListHost.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace {

namespace control = velmora::front::control;

namespace fs = std::filesystem;
using velmora::front::CMediaMaster;
using velmora::test::AnsweringDesktop;
using velmora::test::Click;
using velmora::test::MakeWindow;
using velmora::test::ProcessEventsUntil;
using velmora::test::ScratchFolder;

QString Text(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

// Notes a paint of the preview while it holds a picture.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(velmora::front::CShowThumbNail& preview) : preview_(preview) { preview_.installEventFilter(this); }
    ~PaintWatch() override { preview_.removeEventFilter(this); }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && preview_.ImageReady() && !preview_.PictureSize().isEmpty())
            paintedPicture = true;
        return false;
    }

    bool paintedPicture = false;

private:
    velmora::front::CShowThumbNail& preview_;
};

class VideoJobTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        clips = new ScratchFolder;
        for (const char* name : {"a.avi", "b.avi", "c.avi"}) ASSERT_TRUE(velmora::test::MakeClip(*clips / name, 1, 160, 120));
        // Long enough that its conversion to MP4 outlasts several preview slices.
        ASSERT_TRUE(velmora::test::MakeClip(*clips / "long.avi", 8, 640, 480));
    }
    static void TearDownTestSuite()
    {
        delete clips;
        clips = nullptr;
    }

    // Video Converter with the clips listed and the output folder answered.
    void SetUp() override
    {
        window = MakeWindow(desktop);
        Click(*window, control::kVideoConverterButton);
        desktop.chosenFolder = Text(output.path());
    }

    void List(std::initializer_list<const char*> names)
    {
        for (const char* name : names) window->ConvertList().AddListFile(Text(*clips / name));
        ASSERT_EQ(window->ConvertList().topLevelItemCount(), static_cast<int>(names.size()));
    }

    void Check(int id) { static_cast<QAbstractButton*>(window->Control(id))->setChecked(true); }

    // Presses Start and waits for the conversion thread, noting whether the preview painted a picture.
    void RunJob()
    {
        PaintWatch watch(window->Preview());
        Click(*window, control::kStartButton);
        ASSERT_TRUE(ProcessEventsUntil([&] { return !window->JobRunning(); }));
        previewShowedPicture = watch.paintedPicture;
        EXPECT_FALSE(window->State().Busy());
        EXPECT_TRUE(window->Control(control::kStartButton)->isEnabled());
    }

    QString Status() const { return static_cast<QLabel*>(window->Control(control::kStatusText))->text(); }

    static inline ScratchFolder* clips = nullptr;
    AnsweringDesktop desktop;
    ScratchFolder output;
    std::unique_ptr<CMediaMaster> window;
    bool previewShowedPicture = false;
};

TEST_F(VideoJobTest, ConvertsEachClipIntoTheChosenFolder)
{
    List({"a.avi", "b.avi"});
    Check(control::kMp4Radio);
    RunJob();

    for (const char* name : {"a.mp4", "b.mp4"}) {
        ASSERT_TRUE(fs::exists(output / name)) << name;
        const std::string description = velmora::test::DescribeWithFfmpeg(output / name);
        EXPECT_NE(description.find("mov,mp4"), std::string::npos) << description;
        EXPECT_NE(description.find("Duration: 00:00:01"), std::string::npos) << description;
    }
    EXPECT_EQ(desktop.folderTitles.size(), 1);
    EXPECT_EQ(Status(), "Converting - " + Text(*clips / "b.avi") + "....");
    // Quick conversions end within one slice: no preview copy, no picture, no preview.
    EXPECT_FALSE(fs::exists(output / "a_tmp.mp4"));
    EXPECT_FALSE(fs::exists(output / "last_frame.png"));
    EXPECT_FALSE(previewShowedPicture);
}

TEST_F(VideoJobTest, MovMeansAQuickTimeFile)
{
    List({"a.avi"});
    Check(control::kMovRadio);
    RunJob();

    ASSERT_TRUE(fs::exists(output / "a.mov"));
    EXPECT_FALSE(fs::exists(output / "a.flv"));
    const std::string description = velmora::test::DescribeWithFfmpeg(output / "a.mov");
    EXPECT_NE(description.find("mov,mp4"), std::string::npos) << description;
}

TEST_F(VideoJobTest, AFileWithoutOutputIsNamedAndCounted)
{
    ScratchFolder broken;
    velmora::test::WriteFile(broken / "broken.avi", "not a video at all");
    List({"a.avi"});
    window->ConvertList().AddListFile(Text(broken / "broken.avi"));
    ASSERT_EQ(window->ConvertList().topLevelItemCount(), 2);
    Check(control::kMp4Radio);
    RunJob();

    EXPECT_TRUE(fs::exists(output / "a.mp4"));
    EXPECT_FALSE(fs::exists(output / "broken.mp4"));
    EXPECT_EQ(Status(), "1 file failed");
}

TEST_F(VideoJobTest, CancelledFolderChoiceConvertsNothing)
{
    List({"a.avi"});
    desktop.chosenFolder.clear();
    RunJob();

    EXPECT_TRUE(fs::is_empty(output.path()));
    EXPECT_TRUE(window->Control(control::kVideoConverterButton)->isEnabled());
}

TEST_F(VideoJobTest, ALongConversionShowsItsProgressInThePreview)
{
    window->State().SetPollInterval(std::chrono::milliseconds(20));
    List({"long.avi"});
    Check(control::kMp4Radio);
    RunJob();

    EXPECT_TRUE(fs::exists(output / "long.mp4"));
    EXPECT_TRUE(fs::exists(output / "long_tmp.mp4"));
    EXPECT_TRUE(fs::exists(output / "last_frame.png"));
    EXPECT_TRUE(previewShowedPicture);
    velmora::test::ProcessEvents(50);
    EXPECT_FALSE(window->Preview().isVisible());
    EXPECT_FALSE(window->Preview().ImageReady());
}

TEST_F(VideoJobTest, WithoutBitRatesThePreviewIsSkipped)
{
    window->State().SetPollInterval(std::chrono::milliseconds(20));
    List({"long.avi"});
    for (const int edit : {control::kAudioBitRateEdit, control::kVideoBitRateEdit}) static_cast<QLineEdit*>(window->Control(edit))->clear();
    Check(control::kFirstOptionRadio);
    RunJob();

    EXPECT_TRUE(fs::exists(output / "long.avi"));
    EXPECT_FALSE(fs::exists(output / "last_frame.png"));
    EXPECT_FALSE(previewShowedPicture);
}

class JoinTest : public VideoJobTest {
protected:
    void SetUp() override
    {
        VideoJobTest::SetUp();
        desktop.chosenSaveFile = Text(output / "joined");
        List({"a.avi", "b.avi", "c.avi"});
        Check(control::kJoinFilesCheck);
        Check(control::kMp4Radio);
    }

    static fs::path WorkFolder()
    {
        return fs::path(std::getenv("TMPDIR")) / ("velmora-" + std::to_string(getuid())) / "Temp_ConvertedFile";
    }
};

TEST_F(JoinTest, JoinsTheOutputsIntoTheSavedFile)
{
    RunJob();

    ASSERT_TRUE(fs::exists(output / "joined.mp4"));
    const std::string description = velmora::test::DescribeWithFfmpeg(output / "joined.mp4");
    EXPECT_NE(description.find("Video: "), std::string::npos) << description;
    EXPECT_TRUE(desktop.folderTitles.isEmpty());
    for (const char* name : {"a.mp4", "b.mp4", "c.mp4", "join_Intermediate.mp4"})
        EXPECT_FALSE(fs::exists(WorkFolder() / name)) << name;
    EXPECT_EQ(Status(), "Joining Files....");
    EXPECT_FALSE(window->State().HasPendingOutputs());
    EXPECT_EQ(window->Mode(), velmora::front::kModeVideoConverter);
}

TEST_F(JoinTest, CancelledSaveDialogConvertsNothing)
{
    desktop.chosenSaveFile.clear();
    RunJob();

    EXPECT_TRUE(fs::is_empty(output.path()));
    EXPECT_FALSE(fs::exists(WorkFolder() / "a.mp4"));
}

TEST_F(JoinTest, BurningHandsOnlyTheJoinedFileToTheDvdDataBurner)
{
    Check(control::kBurnOutputCheck);
    RunJob();

    ASSERT_TRUE(ProcessEventsUntil([&] { return window->Mode() == velmora::front::kModeDvdDataBurner; }, 5000));
    velmora::test::ProcessEvents(50);
    ASSERT_EQ(window->BurnList().count(), 1);
    EXPECT_EQ(window->BurnList().EntryAt(0)->Path(), (output / "joined.mp4").string());
    EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(control::kSecondOptionRadio))->isChecked());
    EXPECT_EQ(window->State().BurnOption(), 4);
    EXPECT_FALSE(window->State().HasPendingOutputs());
}

}  // namespace
