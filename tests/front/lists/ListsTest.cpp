#include "FrontTesting.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"
#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "lists/Entries.h"
#include "main/CMediaMaster.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace velmora::front {
namespace {

namespace fs = std::filesystem;
using namespace velmora::test;
using namespace control;

TEST(Entries, FilesTakeOneSectorMoreThanTheirWholeSectorsAndFoldersTheirTreeWithoutFollowingLinks)
{
    ScratchFolder folder;
    const std::pair<std::size_t, std::int64_t> cases[] = {{0, 0}, {1, 2352}, {2351, 2352}, {2352, 4704}, {4705, 7056}};
    for (const auto& [bytes, discSize] : cases) {
        WriteFile(folder / "file", std::string(bytes, 'a'));
        EXPECT_EQ(CFileObject((folder / "file").string()).GetDiscSize(), discSize) << bytes << " bytes";
    }
    EXPECT_EQ(CFileObject((folder / "missing").string()).GetDiscSize(), 0);
    EXPECT_EQ(CFileObject("/a/b.c.mp3").GetTitle(), "b.c");
    EXPECT_EQ(CFileObject("/a/README").GetTitle(), "");

    fs::create_directories(folder / "tree/empty/deeper");
    EXPECT_EQ(CDirObject((folder / "tree").string()).GetDiscSize(), 0);
    WriteFile(folder / "tree/empty/deeper/one", "x");
    WriteFile(folder / "tree/top", std::string(2352, 'y'));
    fs::create_directory_symlink(folder / "tree", folder / "tree/empty/loop");   // would never end
    const CDirObject tree((folder / "tree").string());
    EXPECT_EQ(tree.GetDiscSize(), 2352 + 4704);
    ASSERT_EQ(tree.Folders().size(), 1u);
    EXPECT_EQ(tree.Folders()[0]->Folders().size(), 1u);   // the link is left out
}

TEST(Durations, FormatLikeAClockAndAreReadFromTheLibrarysText)
{
    const std::pair<std::int64_t, const char*> formatted[] = {
        {0, "00:00"}, {59, "00:59"}, {61, "01:01"}, {3600, "01:00:00"}, {3661, "01:01:01"}, {360000, "100:00:00"}};
    for (const auto& [seconds, text] : formatted) EXPECT_EQ(FormatDuration(seconds), text);
    const std::pair<const char*, std::int32_t> parsed[] = {
        {" 00:03:25.40", 205}, {" 01:00:00.99", 3600}, {"", 0}, {" N/A", 0}, {" 9999999:00:00.00", INT32_MAX}};
    for (const auto& [text, seconds] : parsed) EXPECT_EQ(ParseDuration(text), seconds) << text;
}

QStringList Rows(const QListWidget& list)
{
    QStringList rows;
    for (int row = 0; row < list.count(); ++row) rows << list.item(row)->text();
    return rows;
}

// Two-second clips, an MPEG of three and a half seconds and five seconds of CD audio, made once.
QString Clip(const std::string& name)
{
    if (name.ends_with(".avi")) return Q(TestClip(name, 2, 64, 48));
    static const ScratchFolder media;
    static const bool made = RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25", "-t", "3.5", "-c:v",
                                        "mpeg2video", (media / "four.mpg").string()}) &&
                             RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t", "5", "-ac",
                                        "2", (media / "song.wav").string()});
    EXPECT_TRUE(made);
    return Q(media / name);
}

class ListsTest : public ::testing::Test {
protected:
    ListsTest()
    {
        BindLibrary();
        convert.show();
        burn.show();
    }

    QApplication& application = TestApplication();
    ScratchFolder folder;
    FakeHost host;
    CListCtrlEx convert{host, nullptr};
    CFileListBox burn{host, nullptr};
};

TEST_F(ListsTest, ConvertListShowsEachVideoKeepsTheTotalPlayLengthAndNamesDvdTitles)
{
    convert.SetColumns(kModeVideoConverter);
    convert.AddListFile(Clip("one.avi"));
    convert.AddListFile(Clip("four.mpg"));
    EXPECT_EQ(Column(convert, 0), (QStringList{"...", "..."})) << "rows come at once, their lengths later";
    Settle(convert);
    EXPECT_EQ(Column(convert, 0), (QStringList{"00:02", "00:03"}));
    EXPECT_EQ(Column(convert, 2), (QStringList{Clip("one.avi"), Clip("four.mpg")}));
    EXPECT_EQ(convert.RowAt(1).seconds, 3);
    EXPECT_EQ(host.outputSeconds, 5);
    EXPECT_EQ(host.defaultWidths, std::vector<int>{64});   // the first video only
    convert.setCurrentItem(convert.topLevelItem(0));
    QTest::keyClick(&convert, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(convert.viewport()->findChildren<QLineEdit*>().isEmpty()) << "titles only in the DVD Creator";

    // The join box is enabled from the second video on, and follows the list.
    convert.AddListFile(Clip("two.avi"));
    Settle(convert);
    EXPECT_EQ(host.joinCalls, (std::vector<bool>{false, true, true}));
    convert.topLevelItem(0)->setSelected(true);
    convert.topLevelItem(1)->setSelected(true);
    QTest::keyClick(&convert, Qt::Key_Delete);
    EXPECT_EQ(Column(convert, 2), (QStringList{Clip("two.avi")}));
    EXPECT_EQ(host.outputSeconds, 2);
    EXPECT_EQ(host.joinCalls, (std::vector<bool>{false, true, true, true, false}));

    // The DVD Creator lists AVI titles, which Control+E renames.
    host.mode = kModeDvdCreator;
    convert.ResetColumns();
    convert.SetColumns(kModeDvdCreator);
    convert.AddListFile(Clip("one.avi"));
    convert.AddListFile(Clip("four.mpg"));
    Settle(convert);
    EXPECT_EQ(Column(convert, 0), (QStringList{"one"}));
    EXPECT_EQ(Column(convert, 1), (QStringList{"00:02"}));
    convert.setCurrentItem(convert.topLevelItem(0));
    QTest::keyClick(&convert, Qt::Key_E, Qt::ControlModifier);
    const auto editors = convert.viewport()->findChildren<QLineEdit*>();
    ASSERT_EQ(editors.size(), 1);
    EXPECT_EQ(editors[0]->text(), "one");
    convert.topLevelItem(0)->setText(0, "Chapter One");
    EXPECT_EQ(convert.RowAt(0).title, "Chapter One");
}

TEST_F(ListsTest, WrongKindsAreLeftOutAndFilesThatAreNoMediaAreNamed)
{
    WriteFile(folder / "film.wmv", "wmv");
    WriteFile(folder / "notes.avi.txt", "text");
    WriteFile(folder / "fake.avi", "not a video");
    WriteFile(folder / "fake.wav", "not a song");
    const QStringList dropped{Q(folder / "film.wmv"), Q(folder / "notes.avi.txt"), Q(folder / "fake.avi"),
                              Q(TestClip("upper.AVI", 1))};
    Drop(convert, dropped);
    EXPECT_EQ(convert.topLevelItemCount(), 0) << "the list takes no drops yet";
    convert.SetAcceptsDroppedFiles(true);
    Drop(convert, dropped);
    Settle(convert);
    EXPECT_EQ(Column(convert, 2), QStringList{dropped[3]});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].text.startsWith("fake.avi cannot be added: ")) << host.messages[0].text.toStdString();
    EXPECT_EQ(host.joinCalls.back(), false);

    host.messages.clear();
    host.mode = kModeAudioBurner;
    fs::create_directory(folder / "albums");
    burn.SetAcceptsDroppedFiles(true);
    Drop(burn, {Q(folder / "albums"), Q(folder / "film.wmv"), Q(folder / "gone.wav"), Q(folder / "fake.wav"),
                Clip("song.wav")});
    Settle(burn);
    EXPECT_EQ(Rows(burn), (QStringList{Clip("song.wav")}));
    EXPECT_EQ(host.used, 5) << "seconds in the Audio Burner";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].text.startsWith("fake.wav cannot be added: "));

    host.missing = {Export::GetMediaFacts};
    burn.Empty();
    burn.AddPath(Clip("song.wav"));
    host.mode = kModeVideoConverter;
    convert.AddListFile(Clip("two.avi"));
    EXPECT_EQ(burn.count(), 0);
    EXPECT_EQ(convert.topLevelItemCount(), 1);
}

TEST_F(ListsTest, TheSameFileTwiceIsADuplicateButNamesDifferingInCaseAreTwoFiles)
{
    host.mode = kModeDvdDataBurner;
    fs::create_directory(folder / "sub");
    for (const char* name : {"a.mp3", "A.MP3", "a.mp3x"}) {
        WriteFile(folder / name, name);
        burn.AddPath(Q(folder / name));
    }
    burn.AddPath(Q(folder / "sub" / ".." / "a.mp3"));
    burn.AddPath(Q(folder / "a.mp3"));
    const ShownMessage duplicate{"Duplicate Entry not allowed", "Velmora 1.2", MessageKind::Information};
    EXPECT_EQ(burn.count(), 3);
    EXPECT_EQ(host.messages, Messages(2, duplicate));
    EXPECT_EQ(host.used, 3 * 2352);

    host.mode = kModeVideoConverter;
    convert.AddListFile(Clip("one.avi"));
    fs::create_symlink(Clip("one.avi").toStdString(), folder / "link.avi");
    convert.AddListFile(Q(folder / "link.avi"));
    EXPECT_EQ(convert.topLevelItemCount(), 1);
    EXPECT_EQ(host.messages, Messages(3, duplicate));
}

TEST_F(ListsTest, DeleteRemovesExactlyTheSelectedRowsAfterAYes)
{
    host.mode = kModeDvdDataBurner;
    fs::create_directories(folder / "tree" / "inner");
    WriteFile(folder / "tree" / "inner" / "x", std::string(3000, 'x'));
    for (const char* name : {"1", "2", "3", "4"}) WriteFile(folder / name, std::string(100, 'x'));
    for (const char* name : {"tree", "1", "2", "3", "4"}) burn.AddPath(Q(folder / name));
    // The folder's tree is read while the window goes on; it counts once read.
    EXPECT_TRUE(burn.Measuring());
    EXPECT_EQ(host.used, 4 * 2352);
    Settle(burn);
    EXPECT_EQ(host.used, 4704 + 4 * 2352);
    for (const int row : {0, 2, 4}) burn.item(row)->setSelected(true);   // sorted: 1, 2, 3, 4, tree

    host.answer = false;
    QTest::keyClick(&burn, Qt::Key_Delete);
    EXPECT_EQ(burn.count(), 5);
    EXPECT_EQ(host.messages, (Messages{{"Are you sure you want to Delete Selected Item(s)?", "Delete Confirmation",
                                        MessageKind::QuestionDefaultNo}}));
    host.answer = true;
    QTest::keyClick(&burn, Qt::Key_Delete);
    EXPECT_EQ(Rows(burn), (QStringList{Q(folder / "2"), Q(folder / "4")}));
    EXPECT_EQ(host.used, 2 * 2352);

    host.mode = kModeAudioBurner;
    burn.AddPath(Q(folder / "tree"));
    EXPECT_EQ(burn.count(), 2) << "no folders on an audio CD";
}

// The window's side: its buttons, drops and mode changes reach the mode's list.
TEST_F(ListsTest, TheWindowsButtonsAndDropsReachTheModesList)
{
    AnsweringDesktop desktop;
    const auto window = MakeWindow(desktop);
    Click(*window, kVideoConverterButton);
    desktop.chosenFiles = {Clip("two.avi"), Clip("one.avi")};
    Click(*window, kAddFilesButton);
    Click(*window, kStartButton);   // answers come through the event loop, so none is in yet
    EXPECT_EQ(desktop.messages.back().text, "The files just added are still being measured. Please start again in a moment.");
    EXPECT_FALSE(window->JobRunning());
    Settle(window->ConvertList());
    EXPECT_EQ(Column(window->ConvertList(), 2), desktop.chosenFiles);
    EXPECT_EQ(Caption(*window, kDurationText), "Duration  : 00:04");
    EXPECT_TRUE(Enabled(*window, kJoinFilesCheck));
    window->ConvertList().topLevelItem(0)->setSelected(true);
    Click(*window, kRemoveFilesButton);
    Drop(window->ConvertList(), {Clip("three.avi")});
    EXPECT_EQ(Column(window->ConvertList(), 2), (QStringList{Clip("one.avi"), Clip("three.avi")}));
    Click(*window, kDvdCreatorButton);
    EXPECT_EQ(window->ConvertList().topLevelItemCount(), 0) << "a mode change clears the list";
    desktop.chosenFiles = {};
    Click(*window, kAddFilesButton);

    Click(*window, kAudioBurnerButton);
    desktop.chosenFiles = {Clip("song.wav")};
    Click(*window, kAddFilesButton);
    Settle(window->BurnList());
    EXPECT_EQ(Rows(window->BurnList()), desktop.chosenFiles);
    Click(*window, kDvdDataBurnerButton);
    fs::create_directories(folder / "tree");
    WriteFile(folder / "tree" / "x", std::string(3000, 'x'));
    desktop.chosenFolder = Q(folder / "tree");
    Click(*window, kAddFolderButton);
    EXPECT_EQ(Rows(window->BurnList()), QStringList{desktop.chosenFolder});
    Settle(window->BurnList());
    EXPECT_EQ(window->State().DiscUsed(), 4704u);
    desktop.chosenFiles = {};
    Click(*window, kAddFilesButton);
    // Each mode asks for files of its own kinds.
    EXPECT_EQ(desktop.filters, (QStringList{"Video Files(avi, mpg) (*.avi *.mpg)", "AVI Files (*.avi)",
                                            "Audio Files (*.wav *.mp3)", "All Files(*.*) (*.*)"}));
}

}  // namespace
}  // namespace velmora::front
