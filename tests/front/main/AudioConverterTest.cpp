#include "CdImage.h"
#include "FrontTesting.h"
#include "LoopbackHttpServer.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"
#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::front {
namespace {

namespace fs = std::filesystem;
using namespace velmora::test;
using namespace control;

constexpr const char* kEntry =
    "210 rock 0a000c03 entry follows\r\n# xmcd\r\nDTITLE=The Band / Greatest Hits\r\n"
    "TTITLE0=Opening\r\nTTITLE1=Middle\r\nTTITLE2=Closing\r\n.\r\n";

// The Audio Converter with a disc of three tracks in drive X and a CDDB server that knows it.
class AudioConverterTest : public ::testing::Test {
protected:
    AudioConverterTest()
    {
        WriteFile(scratch / "velmora.conf", "CddbServer=" + server.address() + "\n");
        fs::create_directories(images);
    }

    // Opens the mode with the disc in the drive; `answerDialog` runs once the match list is up.
    void Open(std::function<void(QDialog&)> answerDialog = {})
    {
        WriteCdImage(images, "disc", {{2, 440}, {1, 660}, {1, 880}});
        window = MakeWindow(desktop);
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != ControlName(dialog::kCddbMatches)) return;
            dialogShown = true;
            watcher.stop();
            if (answerDialog) answerDialog(*dialog);
        });
        watcher.start(20);
        Click(*window, kAudioConverterButton);
    }

    QTreeWidgetItem& Row(int row) const { return *window->ConvertList().topLevelItem(row); }
    int Rows() const { return window->ConvertList().topLevelItemCount(); }

    ScratchFolder scratch;
    fs::path images = scratch / "images";
    std::string queryAnswer = "200 rock 0a000c03 The Band / Greatest Hits\r\n";
    LoopbackHttpServer server{[this](const LoopbackHttpServer::Request& request) {
        return LoopbackHttpServer::Reply{request.body.find("cddb+read") != std::string::npos ? kEntry : queryAnswer};
    }};
    ScopedEnvironment conf{"VELMORA_CONF", (scratch / "velmora.conf").string()};
    ScopedEnvironment drives{"VELMORA_DRIVES", "X=" + (images / "disc.cue").string()};
    AnsweringDesktop desktop;
    std::unique_ptr<CMediaMaster> window;
    bool dialogShown = false;
};

TEST_F(AudioConverterTest, AnExactMatchNamesTheTracksWithoutAsking)
{
    Open();
    const auto& list = *static_cast<QComboBox*>(window->Control(kDriveList));
    EXPECT_EQ(list.count(), 1);
    EXPECT_TRUE(list.itemText(0).startsWith("X:\\  ") && list.itemText(0).endsWith("disc.cue"));
    EXPECT_FALSE(dialogShown);
    ASSERT_EQ(Rows(), 3);
    const char* titles[] = {"Opening", "Middle", "Closing"};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(Row(row).text(0), QString::number(row + 1));
        EXPECT_EQ(Row(row).text(3), titles[row]);
        EXPECT_EQ(Row(row).text(4), "The Band");
        EXPECT_EQ(Row(row).text(5).toLower(), "cda");
        EXPECT_EQ(Row(row).checkState(0), Qt::Unchecked);
    }
    EXPECT_EQ(static_cast<QLineEdit*>(window->Control(kAudioBitRateEdit))->text(), "320");
    EXPECT_EQ(static_cast<QLineEdit*>(window->Control(kChannelsEdit))->text(), "2");
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(AudioConverterTest, SeveralMatchesAreListedSortedAndTheOneChosenNamesTheTracks)
{
    queryAnswer = "211 Found inexact matches\r\nrock 1 Zed / Z\r\nblues 2 Abe / A\r\njazz 3 Mid / M\r\n.\r\n";
    QStringList lines;
    Open([&](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(ControlName(kMatchList));
        for (int line = 0; line < list->count(); ++line) lines << list->item(line)->text();
        dialog.findChild<QAbstractButton*>(ControlName(kMatchCancelButton))->click();
    });
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(lines, (QStringList{"Abe, A", "Mid, M", "Zed, Z"}));
    ASSERT_EQ(Rows(), 3);   // cancelled: the tracks keep their file names
    EXPECT_EQ(Row(2).text(3), "Track03.cda");
    EXPECT_EQ(Row(0).text(4), "");
    EXPECT_EQ(server.requests().size(), 1u);

    Open([](QDialog& dialog) {
        dialog.findChild<QListWidget*>(ControlName(kMatchList))->setCurrentRow(1);
        dialog.findChild<QAbstractButton*>(ControlName(kMatchOkButton))->click();
    });
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Row(1).text(3), "Middle");
    ASSERT_EQ(server.requests().size(), 3u);
    EXPECT_NE(server.requests()[2].body.find("cmd=cddb+read+jazz+3"), std::string::npos) << server.requests()[2].body;
}

TEST_F(AudioConverterTest, StartRipsTheCheckedTracksOnTheJobThreadAndGivesTheWindowBack)
{
    Open();
    ASSERT_EQ(Rows(), 3);
    Row(0).setCheckState(0, Qt::Checked);
    Row(2).setCheckState(0, Qt::Checked);
    ScratchFolder output;
    desktop.chosenFolder = Q(output.path());
    Click(*window, kSecondOptionRadio);   // WAV
    Click(*window, kStartButton);
    EXPECT_TRUE(window->JobRunning());
    EXPECT_FALSE(Enabled(*window, kStartButton));
    ASSERT_TRUE(ProcessEventsUntil([&] { return !window->JobRunning(); }));

    EXPECT_TRUE(fs::exists(output / "Track01.wav") && fs::exists(output / "Track03.wav"));
    EXPECT_FALSE(fs::exists(output / "Track02.wav"));
    for (int row = 0; row < 3; ++row) EXPECT_EQ(Row(row).checkState(0), Qt::Unchecked);
    EXPECT_FALSE(window->State().Busy());
    for (const int id : {kStartButton, kDriveList, kConvertList, kFirstOptionRadio}) EXPECT_TRUE(Enabled(*window, id));
    EXPECT_FALSE(Enabled(*window, kThirdOptionRadio));
}

TEST_F(AudioConverterTest, AttachingAndDetachingTheImageRereadsTheDriveButNotInTheVideoConverter)
{
    queryAnswer = "202 No match\r\n";
    window = MakeWindow(desktop);
    Click(*window, kAudioConverterButton);
    ASSERT_EQ(Rows(), 0);
    WriteCdImage(images, "disc", {{1, 440}, {1, 660}});
    ASSERT_TRUE(ProcessEventsUntil([&] { return Rows() == 2; }, 10000));
    EXPECT_EQ(Row(1).text(3), "Track02.cda");
    fs::remove(images / "disc.cue");
    fs::remove(images / "disc.bin");
    ASSERT_TRUE(ProcessEventsUntil([&] { return Rows() == 0; }, 10000));

    ScratchFolder clips;
    ASSERT_TRUE(MakeClip(clips / "a.avi", 1, 160, 120));
    Click(*window, kVideoConverterButton);
    window->ConvertList().AddListFile(QString::fromStdString((clips / "a.avi").string()));
    ASSERT_EQ(Rows(), 1);
    const auto requests = server.requests().size();
    WriteCdImage(images, "disc", {{1, 440}, {1, 660}});
    ProcessEvents(1000);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(window->ConvertList().columnCount(), 3);
    EXPECT_EQ(server.requests().size(), requests);
}

}  // namespace
}  // namespace velmora::front
