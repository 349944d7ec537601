#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "lists/Entries.h"
#include "FrontTesting.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace control = velmora::front::control;

using velmora::front::CMediaMaster;
using velmora::front::MessageKind;
using velmora::test::AnsweringDesktop;
using velmora::test::Click;
using velmora::test::Enabled;
using velmora::test::MakeWindow;
using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

QString Path(const std::filesystem::path& file)
{
    return QString::fromStdString(file.string());
}

// What the desktop's file manager delivers: file URLs, in order.
void Drop(QAbstractItemView& list, const QStringList& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files) urls << QUrl::fromLocalFile(file);
    data.setUrls(urls);
    const QPoint at(10, 10);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &drop);
}

QStringList Rows(const QListWidget& list)
{
    QStringList rows;
    for (int row = 0; row < list.count(); ++row) rows << list.item(row)->text();
    return rows;
}

QStringList Column(const QTreeWidget& list, int column)
{
    QStringList texts;
    for (int row = 0; row < list.topLevelItemCount(); ++row) texts << list.topLevelItem(row)->text(column);
    return texts;
}

class ListsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        clips = new ScratchFolder;
        for (const char* name : {"one.avi", "two.avi", "three.avi"})
            ASSERT_TRUE(velmora::test::MakeClip(*clips / name, 2, 64, 48));
        ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25", "-t", "3.5", "-c:v",
                                              "mpeg2video", (*clips / "four.mpg").string()}));
        ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t", "5",
                                              "-ac", "2", (*clips / "song.wav").string()}));
    }
    static void TearDownTestSuite()
    {
        delete clips;
        clips = nullptr;
    }
    static QString Clip(const char* name) { return Path(*clips / name); }

    std::size_t DuplicateMessages() const
    {
        return static_cast<std::size_t>(std::count_if(desktop.messages.begin(), desktop.messages.end(), [](const auto& m) {
            return m.text == "Duplicate Entry not allowed" && m.caption == "Velmora 1.2" &&
                   m.kind == MessageKind::Information;
        }));
    }

    static inline ScratchFolder* clips = nullptr;
    AnsweringDesktop desktop;
    ScratchFolder folder;
};

TEST_F(ListsTest, ConvertListShowsDurationSizeAndPathAndKeepsTheTotal)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kVideoConverterButton);
    auto& list = window->ConvertList();
    list.AddListFile(Clip("one.avi"));
    list.AddListFile(Clip("four.mpg"));
    ASSERT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(Column(list, 0), (QStringList{"00:02", "00:03"}));
    EXPECT_EQ(Column(list, 2), (QStringList{Clip("one.avi"), Clip("four.mpg")}));
    const auto discSize = velmora::front::CFileObject(Clip("one.avi").toStdString()).GetDiscSize();
    char size[32];
    std::snprintf(size, sizeof size, "%0.2g MB", static_cast<double>(discSize) / 1048576.0);
    EXPECT_EQ(list.topLevelItem(0)->text(1), size);
    EXPECT_EQ(list.TotalDuration(), 5);
    EXPECT_EQ(velmora::test::Caption(*window, control::kDurationText), "Duration  : 00:05");

    Click(*window, control::kDvdCreatorButton);   // the mode change clears the list
    EXPECT_EQ(list.topLevelItemCount(), 0);
    list.AddListFile(Clip("two.avi"));
    EXPECT_EQ(Column(list, 0), (QStringList{"two"}));
    EXPECT_EQ(Column(list, 1), (QStringList{"00:02"}));
}

TEST_F(ListsTest, ControlEEditsADvdChapterTitleInTheDvdCreatorOnly)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kVideoConverterButton);
    auto& list = window->ConvertList();
    list.AddListFile(Clip("one.avi"));
    list.setCurrentItem(list.topLevelItem(0));
    QTest::keyClick(&list, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(list.viewport()->findChildren<QLineEdit*>().isEmpty());

    Click(*window, control::kDvdCreatorButton);
    list.AddListFile(Clip("one.avi"));
    list.setCurrentItem(list.topLevelItem(0));
    QTest::keyClick(&list, Qt::Key_E, Qt::ControlModifier);
    const auto editors = list.viewport()->findChildren<QLineEdit*>();
    ASSERT_EQ(editors.size(), 1);
    EXPECT_EQ(editors[0]->text(), "one");
}

TEST_F(ListsTest, WrongKindsAreSilentlyIgnored)
{
    WriteFile(folder / "film.wmv", "wmv");
    const auto window = MakeWindow(desktop);
    Click(*window, control::kVideoConverterButton);
    Drop(window->ConvertList(), {Path(folder / "film.wmv"), Clip("one.avi")});
    EXPECT_EQ(Column(window->ConvertList(), 2), (QStringList{Clip("one.avi")}));

    Click(*window, control::kDvdCreatorButton);
    Drop(window->ConvertList(), {Clip("four.mpg"), Clip("two.avi")});
    EXPECT_EQ(Column(window->ConvertList(), 2), (QStringList{Clip("two.avi")}));

    Click(*window, control::kAudioBurnerButton);
    std::filesystem::create_directory(folder / "albums");
    Drop(window->BurnList(), {Path(folder / "albums"), Path(folder / "film.wmv"), Path(folder / "gone.wav"),
                              Clip("song.wav")});
    EXPECT_EQ(Rows(window->BurnList()), (QStringList{Clip("song.wav")}));
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(ListsTest, TheSameFileTwiceIsADuplicateButNamesDifferingInCaseAreTwoFiles)
{
    WriteFile(folder / "a.mp3", "lower");
    WriteFile(folder / "A.MP3", "upper");
    WriteFile(folder / "a.mp3x", "longer");
    std::filesystem::create_directory(folder / "sub");
    const auto window = MakeWindow(desktop);
    Click(*window, control::kDvdDataBurnerButton);
    auto& burn = window->BurnList();
    Drop(burn, {Path(folder / "a.mp3"), Path(folder / "A.MP3"), Path(folder / "a.mp3x")});
    EXPECT_EQ(burn.count(), 3);
    EXPECT_EQ(DuplicateMessages(), 0u);
    const auto usedBefore = window->State().DiscUsed();

    Drop(burn, {Path(folder / "sub" / ".." / "a.mp3")});
    burn.AddPath(Path(folder / "a.mp3"));
    EXPECT_EQ(burn.count(), 3);
    EXPECT_EQ(DuplicateMessages(), 2u);
    EXPECT_EQ(window->State().DiscUsed(), usedBefore);

    Click(*window, control::kVideoConverterButton);
    auto& convert = window->ConvertList();
    convert.AddListFile(Clip("one.avi"));
    std::filesystem::create_symlink(*clips / "one.avi", folder / "link.avi");
    convert.AddListFile(Path(folder / "link.avi"));
    EXPECT_EQ(convert.topLevelItemCount(), 1);
    EXPECT_EQ(DuplicateMessages(), 3u);
}

TEST_F(ListsTest, DeleteRemovesExactlyTheSelectedRowsAfterAYes)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kDvdDataBurnerButton);
    auto& burn = window->BurnList();
    for (const char* name : {"1", "2", "3", "4", "5"}) {
        WriteFile(folder / name, std::string(100, 'x'));
        burn.AddPath(Path(folder / name));
    }
    EXPECT_EQ(window->State().DiscUsed(), 5u * 2352u);
    for (const int row : {0, 2, 4}) burn.item(row)->setSelected(true);

    desktop.answers = {false};
    QTest::keyClick(&burn, Qt::Key_Delete);
    EXPECT_EQ(burn.count(), 5);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Are you sure you want to Delete Selected Item(s)?");
    EXPECT_EQ(desktop.messages[0].caption, "Delete Confirmation");
    EXPECT_EQ(desktop.messages[0].kind, MessageKind::QuestionDefaultNo);

    desktop.answers = {true};
    QTest::keyClick(&burn, Qt::Key_Delete);
    EXPECT_EQ(Rows(burn), (QStringList{Path(folder / "2"), Path(folder / "4")}));
    EXPECT_EQ(window->State().DiscUsed(), 2u * 2352u);

    desktop.messages.clear();
    burn.clearSelection();
    QTest::keyClick(&burn, Qt::Key_Delete);
    EXPECT_TRUE(desktop.messages.empty()) << "nothing selected, nothing asked";
}

TEST_F(ListsTest, RemoveFilesTakesTheSelectedVideosOffTheTotal)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kVideoConverterButton);
    auto& list = window->ConvertList();
    for (const char* name : {"one.avi", "two.avi", "four.mpg"}) list.AddListFile(Clip(name));
    EXPECT_EQ(list.TotalDuration(), 7);
    list.topLevelItem(0)->setSelected(true);
    list.topLevelItem(2)->setSelected(true);
    Click(*window, control::kRemoveFilesButton);
    EXPECT_EQ(Column(list, 2), (QStringList{Clip("two.avi")}));
    EXPECT_EQ(list.TotalDuration(), 2);
    EXPECT_EQ(velmora::test::Caption(*window, control::kDurationText), "Duration  : 00:02");
}

TEST_F(ListsTest, TheJoinBoxIsEnabledFromTheSecondVideoOnAndOnlyAddsChangeIt)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kVideoConverterButton);
    auto& list = window->ConvertList();
    EXPECT_FALSE(Enabled(*window, control::kJoinFilesCheck));
    list.AddListFile(Clip("one.avi"));
    EXPECT_FALSE(Enabled(*window, control::kJoinFilesCheck));
    list.AddListFile(Clip("two.avi"));
    EXPECT_TRUE(Enabled(*window, control::kJoinFilesCheck));

    list.selectAll();
    QTest::keyClick(&list, Qt::Key_Delete);
    EXPECT_EQ(list.topLevelItemCount(), 0);
    EXPECT_TRUE(Enabled(*window, control::kJoinFilesCheck)) << "deleting leaves the box alone";
    list.AddListFile(Clip("three.avi"));
    EXPECT_FALSE(Enabled(*window, control::kJoinFilesCheck));
}

TEST_F(ListsTest, AddFilesUsesTheModesFilterAndAddsEveryChosenFile)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kVideoConverterButton);
    desktop.chosenFiles = {Clip("two.avi"), Clip("one.avi")};
    Click(*window, control::kAddFilesButton);
    EXPECT_EQ(desktop.filters.back(), "Video Files(avi, mpg) (*.avi *.mpg)");
    EXPECT_EQ(Column(window->ConvertList(), 2), (QStringList{Clip("two.avi"), Clip("one.avi")}));

    Click(*window, control::kAudioBurnerButton);
    desktop.chosenFiles = {Clip("song.wav")};
    Click(*window, control::kAddFilesButton);
    EXPECT_EQ(desktop.filters.back(), "Audio Files (*.wav *.mp3)");
    EXPECT_EQ(Rows(window->BurnList()), (QStringList{Clip("song.wav")}));
    EXPECT_EQ(velmora::test::Caption(*window, control::kStatusText), "0 min");

    Click(*window, control::kDvdCreatorButton);
    desktop.chosenFiles = {};
    Click(*window, control::kAddFilesButton);
    EXPECT_EQ(desktop.filters.back(), "AVI Files (*.avi)");
    EXPECT_EQ(window->ConvertList().topLevelItemCount(), 0);

    Click(*window, control::kDvdDataBurnerButton);
    Click(*window, control::kAddFilesButton);
    EXPECT_EQ(desktop.filters.back(), "All Files(*.*) (*.*)");
}

TEST_F(ListsTest, AddFolderTakesTheWholeTree)
{
    std::filesystem::create_directories(folder / "tree" / "inner");
    WriteFile(folder / "tree" / "inner" / "x", std::string(3000, 'x'));
    const auto window = MakeWindow(desktop);
    Click(*window, control::kDvdDataBurnerButton);
    desktop.chosenFolder = Path(folder / "tree");
    Click(*window, control::kAddFolderButton);
    EXPECT_EQ(desktop.folderTitles.back(), "Please select a folder for storing converted files");
    EXPECT_EQ(Rows(window->BurnList()), (QStringList{Path(folder / "tree")}));
    EXPECT_EQ(window->State().DiscUsed(), 4704u);

    Click(*window, control::kAudioBurnerButton);   // not in the Audio Burner
    Click(*window, control::kAddFolderButton);
    EXPECT_EQ(window->BurnList().count(), 0);
}

TEST_F(ListsTest, DropsAreRefusedWhereTheModeDoesNotTakeThem)
{
    WriteFile(folder / "data.bin", "x");
    const auto window = MakeWindow(desktop);
    Click(*window, control::kCdDataBurnerButton);   // Copy Disk
    Drop(window->BurnList(), {Path(folder / "data.bin")});
    EXPECT_EQ(window->BurnList().count(), 0);
    Click(*window, control::kSecondOptionRadio);   // Create ISO File
    Drop(window->BurnList(), {Path(folder / "data.bin")});
    EXPECT_EQ(window->BurnList().count(), 1);

    Click(*window, control::kAudioConverterButton);
    Drop(window->ConvertList(), {Clip("one.avi")});
    EXPECT_EQ(window->ConvertList().topLevelItemCount(), 0);
}

}  // namespace
