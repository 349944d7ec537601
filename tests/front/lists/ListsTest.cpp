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

#include <algorithm>
#include <filesystem>

namespace velmora::front {
namespace {

namespace fs = std::filesystem;
using namespace velmora::test;
using namespace control;

QString Path(const fs::path& file)
{
    return QString::fromStdString(file.string());
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

QStringList Headers(const QTreeWidget& list)
{
    QStringList titles;
    for (int column = 0; column < list.columnCount(); ++column) titles << list.headerItem()->text(column);
    return titles;
}

class ListsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        clips = new ScratchFolder;
        for (const char* name : {"one.avi", "two.avi", "three.avi"}) ASSERT_TRUE(MakeClip(*clips / name, 2, 64, 48));
        ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25", "-t", "3.5", "-c:v", "mpeg2video",
                               (*clips / "four.mpg").string()}));
        ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t", "5", "-ac", "2",
                               (*clips / "song.wav").string()}));
    }
    static void TearDownTestSuite()
    {
        delete clips;
        clips = nullptr;
    }
    static QString Clip(const char* name) { return Path(*clips / name); }

    ListsTest()
    {
        BindLibrary();
        convert.show();
        burn.show();
    }

    std::size_t DuplicatesTold() const
    {
        return static_cast<std::size_t>(std::count_if(host.messages.begin(), host.messages.end(), [](const auto& m) {
            return m.text == "Duplicate Entry not allowed" && m.caption == "Velmora 1.2" &&
                   m.kind == MessageKind::Information;
        }));
    }

    static inline ScratchFolder* clips = nullptr;
    QApplication& application = TestApplication();
    ScratchFolder folder;
    FakeHost host;
    CListCtrlEx convert{host, nullptr};
    CFileListBox burn{host, nullptr};
};

TEST_F(ListsTest, ConvertListShowsEachVideoAndKeepsTheTotalPlayLength)
{
    convert.SetColumns(kModeVideoConverter);
    EXPECT_EQ(Headers(convert), (QStringList{"Duration", "Size", "File Name"}));
    convert.AddListFile(Clip("one.avi"));
    convert.AddListFile(Clip("four.mpg"));
    EXPECT_EQ(Column(convert, 0), (QStringList{"00:02", "00:03"}));
    EXPECT_EQ(Column(convert, 2), (QStringList{Clip("one.avi"), Clip("four.mpg")}));
    const auto discBytes = static_cast<double>(CFileObject(Clip("one.avi").toStdString()).GetDiscSize());
    EXPECT_EQ(convert.topLevelItem(0)->text(1), QString::asprintf("%0.2g MB", discBytes / 1048576.0));
    EXPECT_EQ(convert.TotalDuration(), 5);
    EXPECT_EQ(host.outputSeconds, 5);
    EXPECT_EQ(host.defaultsFrom, (std::vector<std::string>{Clip("one.avi").toStdString()}));   // the first video only

    // The join box is enabled from the second video on; only adding changes it.
    convert.AddListFile(Clip("two.avi"));
    EXPECT_EQ(host.joinCalls, (std::vector<bool>{false, true, true}));
    convert.topLevelItem(0)->setSelected(true);
    convert.topLevelItem(1)->setSelected(true);
    QTest::keyClick(&convert, Qt::Key_Delete);
    EXPECT_EQ(Column(convert, 2), (QStringList{Clip("two.avi")}));
    EXPECT_EQ(convert.TotalDuration(), 2);
    EXPECT_EQ(host.outputSeconds, 2);
    EXPECT_EQ(host.joinCalls.size(), 3u);

    convert.ResetColumns();
    EXPECT_EQ(convert.topLevelItemCount(), 0);
    EXPECT_EQ(convert.columnCount(), 0);
}

TEST_F(ListsTest, DvdCreatorListsTitlesThatControlERenames)
{
    host.mode = kModeDvdCreator;
    convert.SetColumns(kModeDvdCreator);
    EXPECT_EQ(Headers(convert), (QStringList{"Title", "Duration", "File Name"}));
    EXPECT_EQ(convert.columnWidth(2), 355);
    convert.AddListFile(Clip("one.avi"));
    convert.AddListFile(Clip("four.mpg"));   // AVI files only
    EXPECT_EQ(Column(convert, 0), (QStringList{"one"}));
    EXPECT_EQ(Column(convert, 1), (QStringList{"00:02"}));

    convert.setCurrentItem(convert.topLevelItem(0));
    QTest::keyClick(&convert, Qt::Key_E, Qt::ControlModifier);
    const auto editors = convert.viewport()->findChildren<QLineEdit*>();
    ASSERT_EQ(editors.size(), 1);
    EXPECT_EQ(editors[0]->text(), "one");
    convert.topLevelItem(0)->setText(0, "Chapter One");
    EXPECT_EQ(convert.RowAt(0).title, "Chapter One");

    // Not in the Video Converter.
    host.mode = kModeVideoConverter;
    CListCtrlEx other(host, nullptr);
    other.show();
    other.AddListFile(Clip("one.avi"));
    other.setCurrentItem(other.topLevelItem(0));
    QTest::keyClick(&other, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(other.viewport()->findChildren<QLineEdit*>().isEmpty());
}

TEST_F(ListsTest, ColumnsSpeakTheHostsLanguage)
{
    host.strings = UiStrings(false);
    convert.SetColumns(kModeVideoConverter);
    EXPECT_EQ(Headers(convert), (QStringList{QString::fromUtf8("Duración"), QString::fromUtf8("Tamaño"),
                                             "FNombre de archivo"}));
}

TEST_F(ListsTest, WrongKindsAndFilesWithoutAPlayLengthAreLeftOutSilently)
{
    WriteFile(folder / "film.wmv", "wmv");
    Drop(convert, {Path(folder / "film.wmv"), Clip("one.avi")});
    EXPECT_EQ(convert.topLevelItemCount(), 0) << "the list takes no drops yet";
    convert.SetAcceptsDroppedFiles(true);
    Drop(convert, {Path(folder / "film.wmv"), Clip("one.avi")});
    EXPECT_EQ(Column(convert, 2), (QStringList{Clip("one.avi")}));

    host.mode = kModeAudioBurner;
    fs::create_directory(folder / "albums");
    burn.SetAcceptsDroppedFiles(true);
    Drop(burn, {Path(folder / "albums"), Path(folder / "film.wmv"), Path(folder / "gone.wav"), Clip("song.wav")});
    EXPECT_EQ(Rows(burn), (QStringList{Clip("song.wav")}));
    EXPECT_EQ(host.used, 5) << "seconds in the Audio Burner";
    EXPECT_TRUE(host.messages.empty());

    host.missing = {Export::GetPlayLength};
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
    WriteFile(folder / "a.mp3", "lower");
    WriteFile(folder / "A.MP3", "upper");
    WriteFile(folder / "a.mp3x", "longer");
    fs::create_directory(folder / "sub");
    for (const char* name : {"a.mp3", "A.MP3", "a.mp3x"}) burn.AddPath(Path(folder / name));
    EXPECT_EQ(burn.count(), 3);
    EXPECT_EQ(DuplicatesTold(), 0u);
    EXPECT_EQ(host.used, 3 * 2352);

    burn.AddPath(Path(folder / "sub" / ".." / "a.mp3"));
    burn.AddPath(Path(folder / "a.mp3"));
    EXPECT_EQ(burn.count(), 3);
    EXPECT_EQ(DuplicatesTold(), 2u);
    EXPECT_EQ(host.used, 3 * 2352);

    host.mode = kModeVideoConverter;
    convert.AddListFile(Clip("one.avi"));
    fs::create_symlink(*clips / "one.avi", folder / "link.avi");
    convert.AddListFile(Path(folder / "link.avi"));
    EXPECT_EQ(convert.topLevelItemCount(), 1);
    EXPECT_EQ(DuplicatesTold(), 3u);
}

TEST_F(ListsTest, DeleteRemovesExactlyTheSelectedRowsAfterAYes)
{
    host.mode = kModeDvdDataBurner;
    fs::create_directories(folder / "tree" / "inner");
    WriteFile(folder / "tree" / "inner" / "x", std::string(3000, 'x'));
    burn.AddPath(Path(folder / "tree"));
    EXPECT_EQ(host.used, 4704);
    for (const char* name : {"1", "2", "3", "4"}) {
        WriteFile(folder / name, std::string(100, 'x'));
        burn.AddPath(Path(folder / name));
    }
    EXPECT_EQ(host.used, 4704 + 4 * 2352);
    for (const int row : {0, 2, 4}) burn.item(row)->setSelected(true);   // sorted: 1, 2, 3, 4, tree

    host.answer = false;
    QTest::keyClick(&burn, Qt::Key_Delete);
    EXPECT_EQ(burn.count(), 5);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Are you sure you want to Delete Selected Item(s)?");
    EXPECT_EQ(host.messages[0].caption, "Delete Confirmation");
    EXPECT_EQ(host.messages[0].kind, MessageKind::QuestionDefaultNo);

    host.answer = true;
    QTest::keyClick(&burn, Qt::Key_Delete);
    EXPECT_EQ(Rows(burn), (QStringList{Path(folder / "2"), Path(folder / "4")}));
    EXPECT_EQ(host.used, 2 * 2352);

    host.messages.clear();
    burn.clearSelection();
    QTest::keyClick(&burn, Qt::Key_Delete);
    EXPECT_TRUE(host.messages.empty()) << "nothing selected, nothing asked";

    host.mode = kModeAudioBurner;
    burn.AddPath(Path(folder / "tree"));
    EXPECT_EQ(burn.count(), 2) << "no folders on an audio CD";
}

// The window's side: its buttons, drops and mode changes reach the lists.
class ListWiringTest : public ListsTest {
protected:
    AnsweringDesktop desktop;
    std::unique_ptr<CMediaMaster> window = MakeWindow(desktop);
};

TEST_F(ListWiringTest, TheButtonsUseTheModesFilterAndList)
{
    Click(*window, kVideoConverterButton);
    desktop.chosenFiles = {Clip("two.avi"), Clip("one.avi")};
    Click(*window, kAddFilesButton);
    EXPECT_EQ(desktop.filters.back(), "Video Files(avi, mpg) (*.avi *.mpg)");
    EXPECT_EQ(Column(window->ConvertList(), 2), (QStringList{Clip("two.avi"), Clip("one.avi")}));
    EXPECT_EQ(Caption(*window, kDurationText), "Duration  : 00:04");
    EXPECT_TRUE(Enabled(*window, kJoinFilesCheck));
    window->ConvertList().topLevelItem(0)->setSelected(true);
    Click(*window, kRemoveFilesButton);
    EXPECT_EQ(Column(window->ConvertList(), 2), (QStringList{Clip("one.avi")}));

    Click(*window, kDvdCreatorButton);
    EXPECT_EQ(window->ConvertList().topLevelItemCount(), 0) << "a mode change clears the list";
    desktop.chosenFiles = {};
    Click(*window, kAddFilesButton);
    EXPECT_EQ(desktop.filters.back(), "AVI Files (*.avi)");

    Click(*window, kAudioBurnerButton);
    EXPECT_EQ(window->ConvertList().columnCount(), 0);
    desktop.chosenFiles = {Clip("song.wav")};
    Click(*window, kAddFilesButton);
    EXPECT_EQ(desktop.filters.back(), "Audio Files (*.wav *.mp3)");
    EXPECT_EQ(Rows(window->BurnList()), (QStringList{Clip("song.wav")}));
    EXPECT_EQ(Caption(*window, kStatusText), "0 min");

    Click(*window, kDvdDataBurnerButton);
    fs::create_directories(folder / "tree");
    WriteFile(folder / "tree" / "x", std::string(3000, 'x'));
    desktop.chosenFolder = Path(folder / "tree");
    Click(*window, kAddFolderButton);
    EXPECT_EQ(desktop.folderTitles.back(), "Please select a folder for storing converted files");
    EXPECT_EQ(Rows(window->BurnList()), (QStringList{Path(folder / "tree")}));
    EXPECT_EQ(window->State().DiscUsed(), 4704u);
    Click(*window, kAddFilesButton);
    EXPECT_EQ(desktop.filters.back(), "All Files(*.*) (*.*)");
}

TEST_F(ListWiringTest, DropsAreTakenWhereTheModeTakesThem)
{
    WriteFile(folder / "data.bin", "x");
    Click(*window, kCdDataBurnerButton);   // Copy Disk
    Drop(window->BurnList(), {Path(folder / "data.bin")});
    EXPECT_EQ(window->BurnList().count(), 0);
    Click(*window, kSecondOptionRadio);   // Create ISO File
    Drop(window->BurnList(), {Path(folder / "data.bin")});
    EXPECT_EQ(window->BurnList().count(), 1);

    Click(*window, kAudioConverterButton);
    Drop(window->ConvertList(), {Clip("one.avi")});
    EXPECT_EQ(window->ConvertList().topLevelItemCount(), 0);
    Click(*window, kVideoConverterButton);
    Drop(window->ConvertList(), {Clip("one.avi")});
    EXPECT_EQ(window->ConvertList().topLevelItemCount(), 1);
}

}  // namespace
}  // namespace velmora::front
