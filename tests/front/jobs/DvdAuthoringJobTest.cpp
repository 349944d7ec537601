#include "jobs/AuthoringText.h"
#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "lists/Entries.h"
#include "FrontTesting.h"
#include "lists/ListHost.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"

#include <QAbstractButton>
#include <QLabel>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace {

namespace control = velmora::front::control;

namespace fs = std::filesystem;
using velmora::front::CMediaMaster;
using velmora::test::AnsweringDesktop;
using velmora::test::Click;
using velmora::test::MakeWindow;
using velmora::test::ProcessEventsUntil;
using velmora::test::ScratchFolder;

constexpr const char* kWorkFolder = "06759715-1134-4d2b-B902-58192E53501F";

QString Text(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

TEST(AuthoringTextTest, ListsTheFilesInOrderAndEscapesEveryPath)
{
    velmora::front::AuthoringText text("/videos/Tom & Jerry");
    text.AddVob("/work/a.mpg");
    text.AddVob("/work/<b> \"quoted\" 'single'.mpg");
    EXPECT_EQ(text.Close(),
              "<dvdauthor dest=\"/videos/Tom &amp; Jerry\" ><vmgm /><titleset><titles><pgc>"
              "<vob file=\"/work/a.mpg\" />"
              "<vob file=\"/work/&lt;b&gt; &quot;quoted&quot; &apos;single&apos;.mpg\" />"
              "</pgc></titles></titleset></dvdauthor>");
}

class DvdAuthoringJobTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        clips = new ScratchFolder;
        for (const char* name : {"a.avi", "b.avi"}) ASSERT_TRUE(velmora::test::MakeClip(*clips / name, 1, 160, 120));
    }
    static void TearDownTestSuite()
    {
        delete clips;
        clips = nullptr;
    }

    void SetUp() override
    {
        window = MakeWindow(desktop);
        Click(*window, control::kDvdCreatorButton);
        for (const char* name : {"a.avi", "b.avi"}) window->ConvertList().AddListFile(Text(*clips / name));
        ASSERT_EQ(window->ConvertList().topLevelItemCount(), 2);
    }

    void Run(int option, const fs::path& folder)
    {
        fs::create_directories(folder);
        desktop.chosenFolder = Text(folder);
        static_cast<QAbstractButton*>(window->Control(option))->setChecked(true);
        Click(*window, control::kStartButton);
        ASSERT_TRUE(ProcessEventsUntil([&] { return !window->JobRunning(); }));
        EXPECT_FALSE(window->State().Busy());
        EXPECT_TRUE(window->Control(control::kAddFilesButton)->isEnabled());
    }

    QString Status() const { return static_cast<QLabel*>(window->Control(control::kStatusText))->text(); }

    static inline ScratchFolder* clips = nullptr;
    AnsweringDesktop desktop;
    ScratchFolder output;
    std::unique_ptr<CMediaMaster> window;
};

TEST_F(DvdAuthoringJobTest, OnlyVobFilesLeavesOneVobPerFile)
{
    Run(control::kFirstOptionRadio, output.path());

    EXPECT_TRUE(fs::exists(output / "a.vob"));
    EXPECT_TRUE(fs::exists(output / "b.vob"));
    EXPECT_FALSE(fs::exists(output / kWorkFolder));
    EXPECT_FALSE(fs::exists(output / "VIDEO_TS"));
    EXPECT_EQ(Status(), "Converting - " + Text(*clips / "b.avi") + "....");
}

TEST_F(DvdAuthoringJobTest, AllDvdFilesAuthorsTheFolderSetAndRemovesTheWorkFolder)
{
    // A work folder left by an interrupted run is reused and removed.
    fs::create_directories(output / kWorkFolder);
    Run(control::kSecondOptionRadio, output.path());

    EXPECT_TRUE(fs::exists(output / "VIDEO_TS" / "VIDEO_TS.IFO"));
    EXPECT_TRUE(fs::exists(output / "VIDEO_TS" / "VTS_01_1.VOB"));
    EXPECT_FALSE(fs::exists(output / kWorkFolder));
    EXPECT_EQ(Status(), "Generating DVD Files....");
    EXPECT_EQ(window->Mode(), velmora::front::kModeDvdCreator);
}

TEST_F(DvdAuthoringJobTest, AFolderNameWithMarkupCharactersAuthorsLikeAnyOther)
{
    const fs::path folder = output / "Tom & Jerry <'quoted'>";
    Run(control::kSecondOptionRadio, folder);

    EXPECT_TRUE(fs::exists(folder / "VIDEO_TS" / "VIDEO_TS.IFO"));
    EXPECT_FALSE(fs::exists(folder / kWorkFolder));
}

TEST_F(DvdAuthoringJobTest, ConvertAndBurnHandsBothFoldersToTheDvdDataBurner)
{
    Run(control::kThirdOptionRadio, output.path());

    ASSERT_TRUE(ProcessEventsUntil([&] { return window->Mode() == velmora::front::kModeDvdDataBurner; }, 5000));
    velmora::test::ProcessEvents(50);
    ASSERT_EQ(window->BurnList().count(), 2);
    std::set<std::string> listed;
    for (int row = 0; row < 2; ++row) listed.insert(window->BurnList().EntryAt(row)->Path());
    EXPECT_EQ(listed, (std::set<std::string>{(output / "AUDIO_TS").string(), (output / "VIDEO_TS").string()}));
    EXPECT_EQ(window->State().BurnOption(), 4);
}

TEST_F(DvdAuthoringJobTest, CancelledFolderChoiceDoesNothing)
{
    desktop.chosenFolder.clear();
    static_cast<QAbstractButton*>(window->Control(control::kSecondOptionRadio))->setChecked(true);
    Click(*window, control::kStartButton);
    ASSERT_TRUE(ProcessEventsUntil([&] { return !window->JobRunning(); }));
    EXPECT_TRUE(fs::is_empty(output.path()));
    EXPECT_TRUE(window->Control(control::kStartButton)->isEnabled());
}

}  // namespace
