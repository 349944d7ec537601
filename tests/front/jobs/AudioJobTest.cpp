#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "CdImage.h"
#include "FrontTesting.h"
#include "LoopbackHttpServer.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

namespace control = velmora::front::control;

namespace fs = std::filesystem;
using velmora::front::CMediaMaster;
using velmora::front::ControlName;
using velmora::test::AnsweringDesktop;
using velmora::test::Click;
using velmora::test::LoopbackHttpServer;
using velmora::test::MakeWindow;
using velmora::test::ProcessEventsUntil;
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;

constexpr const char* kEntry =
    "210 rock 0a000c03 entry follows\r\n# xmcd\r\nDTITLE=The Band / Greatest Hits\r\n"
    "TTITLE0=Opening\r\nTTITLE1=Middle\r\nTTITLE2=Closing\r\n.\r\n";

class AudioJobTest : public ::testing::Test {
protected:
    AudioJobTest()
    {
        disc = velmora::test::WriteCdImage(scratch.path(), "disc", {{2, 440}, {1, 660}, {1, 880}});
        velmora::test::WriteFile(scratch / "velmora.conf", "CddbServer=" + server.address() + "\n");
    }

    // Audio Converter mode with the disc in drive X; `answerDialog` runs once the match list is up.
    void ChooseAudioConverter(std::function<void(QDialog&)> answerDialog = {})
    {
        window = MakeWindow(desktop);
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != ControlName(velmora::front::dialog::kCddbMatches)) return;
            dialogShown = true;
            watcher.stop();
            if (answerDialog) answerDialog(*dialog);
        });
        watcher.start(20);
        Click(*window, control::kAudioConverterButton);
    }

    QTreeWidgetItem& Row(int row) const { return *window->ConvertList().topLevelItem(row); }
    int RowCount() const { return window->ConvertList().topLevelItemCount(); }
    QString Text(int id) const { return static_cast<QLineEdit*>(window->Control(id))->text(); }

    void RunJob(int format)
    {
        desktop.chosenFolder = QString::fromStdString(output.path().string());
        static_cast<QAbstractButton*>(window->Control(format))->setChecked(true);
        Click(*window, control::kStartButton);
        ASSERT_TRUE(ProcessEventsUntil([&] { return !window->JobRunning(); }));
        EXPECT_FALSE(window->State().Busy());
    }

    ScratchFolder scratch;
    ScratchFolder output;
    velmora::test::CdImage disc;
    std::string queryAnswer = "200 rock 0a000c03 The Band / Greatest Hits\r\n";
    LoopbackHttpServer server{[this](const LoopbackHttpServer::Request& request) {
        return LoopbackHttpServer::Reply{request.body.find("cddb+read") != std::string::npos ? kEntry : queryAnswer};
    }};
    ScopedEnvironment conf{"VELMORA_CONF", (scratch / "velmora.conf").string()};
    ScopedEnvironment drives{"VELMORA_DRIVES", "X=" + (scratch / "disc.cue").string()};
    AnsweringDesktop desktop;
    std::unique_ptr<CMediaMaster> window;
    bool dialogShown = false;
};

TEST_F(AudioJobTest, AnExactMatchNamesTheTracksWithoutAsking)
{
    ChooseAudioConverter();

    const auto& drivesList = *static_cast<QComboBox*>(window->Control(control::kDriveList));
    ASSERT_EQ(drivesList.count(), 1);
    EXPECT_TRUE(drivesList.itemText(0).startsWith("X:\\"));
    EXPECT_TRUE(drivesList.itemText(0).contains("disc.cue"));
    EXPECT_FALSE(dialogShown);
    ASSERT_EQ(RowCount(), 3);
    const char* titles[] = {"Opening", "Middle", "Closing"};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(Row(row).text(0), QString::number(row + 1));
        EXPECT_EQ(Row(row).text(3), titles[row]);
        EXPECT_EQ(Row(row).text(4), "The Band");
        EXPECT_EQ(Row(row).text(5).toLower(), "cda");
        EXPECT_EQ(Row(row).checkState(0), Qt::Unchecked);
    }
    EXPECT_EQ(Text(control::kAudioBitRateEdit), "320");
    EXPECT_EQ(Text(control::kChannelsEdit), "2");
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(AudioJobTest, SeveralMatchesAreListedSortedAndCancelKeepsTheFileNames)
{
    queryAnswer = "211 Found inexact matches\r\nrock 1 Zed / Z\r\nblues 2 Abe / A\r\njazz 3 Mid / M\r\n.\r\n";
    QStringList lines;
    ChooseAudioConverter([&](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(ControlName(control::kMatchList));
        for (int line = 0; line < list->count(); ++line) lines << list->item(line)->text();
        dialog.findChild<QAbstractButton*>(ControlName(control::kMatchCancelButton))->click();
    });

    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(lines, (QStringList{"Abe, A", "Mid, M", "Zed, Z"}));
    ASSERT_EQ(RowCount(), 3);
    EXPECT_EQ(Row(0).text(3), "Track01.cda");
    EXPECT_EQ(Row(2).text(3), "Track03.cda");
    EXPECT_EQ(Row(0).text(4), "");
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(AudioJobTest, TheChosenMatchNamesTheTracks)
{
    queryAnswer = "211 Found inexact matches\r\nrock 1 Zed / Z\r\njazz 3 Mid / M\r\n.\r\n";
    ChooseAudioConverter([](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(ControlName(control::kMatchList));
        list->setCurrentRow(0);
        dialog.findChild<QAbstractButton*>(ControlName(control::kMatchOkButton))->click();
    });

    ASSERT_EQ(RowCount(), 3);
    EXPECT_EQ(Row(1).text(3), "Middle");
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_NE(server.requests()[1].body.find("cmd=cddb+read+jazz+3"), std::string::npos) << server.requests()[1].body;
}

TEST_F(AudioJobTest, CheckedTracksAreRippedToWavAndUnchecked)
{
    ChooseAudioConverter();
    ASSERT_EQ(RowCount(), 3);
    Row(0).setCheckState(0, Qt::Checked);
    Row(2).setCheckState(0, Qt::Checked);
    RunJob(control::kSecondOptionRadio);

    for (const int track : {0, 2}) {
        const fs::path file = output / ("Track0" + std::to_string(track + 1) + ".wav");
        ASSERT_TRUE(fs::exists(file)) << file;
        const std::string wav = velmora::test::ReadFile(file);
        ASSERT_GT(wav.size(), 44u);
        EXPECT_TRUE(wav.substr(44) == disc.tracks[static_cast<std::size_t>(track)]) << "the samples differ: " << file;
    }
    EXPECT_FALSE(fs::exists(output / "Track02.wav"));
    for (int row = 0; row < 3; ++row) EXPECT_EQ(Row(row).checkState(0), Qt::Unchecked);
}

TEST_F(AudioJobTest, CheckedTracksAreRippedToMp3)
{
    ChooseAudioConverter();
    ASSERT_EQ(RowCount(), 3);
    Row(1).setCheckState(0, Qt::Checked);
    RunJob(control::kFirstOptionRadio);

    ASSERT_TRUE(fs::exists(output / "Track02.mp3"));
    EXPECT_NE(velmora::test::DescribeWithFfmpeg(output / "Track02.mp3").find("Audio: mp3"), std::string::npos);
    EXPECT_FALSE(fs::exists(output / "Track01.mp3"));
    EXPECT_FALSE(fs::exists(output / "Track03.mp3"));
}

TEST_F(AudioJobTest, AnAudioFileRowIsConvertedByItsPath)
{
    ChooseAudioConverter();
    ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t", "1",
                                          (scratch / "tone.wav").string()}));
    window->ConvertList().AddRow({.sourcePath = (scratch / "tone.wav").string()}, {});
    Row(RowCount() - 1).setCheckState(0, Qt::Checked);
    RunJob(control::kFirstOptionRadio);

    EXPECT_TRUE(fs::exists(output / "tone.mp3"));
    EXPECT_FALSE(fs::exists(output / "Track01.mp3"));
}

}  // namespace
