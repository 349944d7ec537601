// The Audio Converter's window: the tracks of the disc in the drive named by CDDB, ripped on Start,
// and read again when the disc changes.

#include "CdImage.h"
#include "FrontTesting.h"
#include "LoopbackHttpServer.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"
#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

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
        WriteFile(folder / "velmora.conf",
                  "CddbServer=" + server.address() + "\nAccurateRipServer=" + server.address() + "\n");
        fs::create_directories(images);
        WriteCdImage(images, "disc", {{2, 440}, {1, 660}, {1, 880}});
    }

    int Rows() const { return window->ConvertList().topLevelItemCount(); }
    QStringList Column(int column) const { return velmora::test::Column(window->ConvertList(), column); }
    void ChangeDisc(const std::vector<ImageTrack>& tracks)
    {
        fs::remove(images / "disc.cue");
        fs::remove(images / "disc.bin");
        if (!tracks.empty()) WriteCdImage(images, "disc", tracks);
    }

    AnsweringDesktop desktop;
    ScratchFolder folder;
    fs::path images = folder / "images";
    std::string queryAnswer;
    LoopbackHttpServer server{[this](const LoopbackHttpServer::Request& request) {
        return LoopbackHttpServer::Reply{request.body.find("cddb+read") != std::string::npos ? kEntry : queryAnswer};
    }};
    ScopedEnvironment conf{"VELMORA_CONF", (folder / "velmora.conf").string()};
    ScopedEnvironment drives{"VELMORA_DRIVES", "X=" + (images / "disc.cue").string()};
    std::unique_ptr<CMediaMaster> window;
};

TEST_F(AudioConverterTest, TheTracksAreNamedByTheMatchChosenRippedOnStartAndRereadWhenTheDiscChanges)
{
    const std::string inexact =
        "211 Found inexact matches\r\nrock 0a000c01 Zed / Z\r\nblues 0a000c02 Abe / A\r\n"
        "jazz 0a000c03 Mid / M\r\n.\r\n";
    const QStringList named{"Opening", "Middle", "Closing"}, unnamed{"Track01.cda", "Track02.cda", "Track03.cda"};
    struct Case {
        std::string answer;           // to the query
        std::optional<int> pick;      // the line picked in the match list, if it is shown; -1 cancels
        const char* read = nullptr;   // the entry then asked for
        QStringList titles;
    };
    const Case cases[] = {
        {"200 rock 0a000c03 The Band / Greatest Hits\r\n", std::nullopt, "cddb+read+rock+0a000c03", named},
        {inexact, -1, nullptr, unnamed},
        {inexact, 1, "cddb+read+jazz+0a000c03", named},
        {"202 No match\r\n", std::nullopt, nullptr, unnamed},
    };
    for (const Case& disc : cases) {
        queryAnswer = disc.answer;
        const auto asked = server.requests().size();
        QStringList matches;
        QTimer watcher;   // plays the user's part once the match list is up
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != ControlName(dialog::kCddbMatches)) return;
            watcher.stop();
            auto* list = dialog->findChild<QListWidget*>(ControlName(kMatchList));
            for (int line = 0; line < list->count(); ++line) matches << list->item(line)->text();
            list->setCurrentRow(disc.pick.value_or(0));
            const int button = disc.pick >= 0 ? kMatchOkButton : kMatchCancelButton;
            dialog->findChild<QAbstractButton*>(ControlName(button))->click();
        });
        watcher.start(20);
        window = MakeWindow(desktop);
        Click(*window, kAudioConverterButton);
        EXPECT_EQ(matches, (disc.pick ? QStringList{"Abe, A", "Mid, M", "Zed, Z"} : QStringList())) << disc.answer;
        EXPECT_EQ(Column(3), disc.titles) << disc.answer;
        EXPECT_EQ(Column(4), QStringList(3, disc.titles == named ? "The Band" : "")) << disc.answer;
        const auto requests = server.requests();
        ASSERT_EQ(requests.size() - asked, disc.read ? 2u : 1u) << disc.answer;
        EXPECT_TRUE(!disc.read || requests.back().body.find(disc.read) != std::string::npos) << requests.back().body;
    }
    EXPECT_EQ(desktop.messages, (Messages{{"Query unsuccessful: 202", "Error", MessageKind::Plain}}));
    const auto& driveList = *static_cast<QComboBox*>(window->Control(kDriveList));
    ASSERT_EQ(driveList.count(), 1);
    EXPECT_TRUE(driveList.itemText(0).startsWith("X:\\  ") && driveList.itemText(0).endsWith("disc.cue"));
    EXPECT_EQ(Column(0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(Column(5).join(' ').toLower(), "cda cda cda");
    EXPECT_EQ(static_cast<QLineEdit*>(window->Control(kAudioBitRateEdit))->text(), "320");
    EXPECT_EQ(static_cast<QLineEdit*>(window->Control(kChannelsEdit))->text(), "2");

    // Start rips the checked tracks on the job thread and gives the window back.
    auto& list = window->ConvertList();
    for (const int row : {0, 2}) list.topLevelItem(row)->setCheckState(0, Qt::Checked);
    ScratchFolder output;
    desktop.chosenFolder = Q(output.path());
    Click(*window, kSecondOptionRadio);   // WAV
    Click(*window, kStartButton);
    EXPECT_FALSE(Enabled(*window, kStartButton));
    ASSERT_TRUE(ProcessEventsUntil([&] { return !window->JobRunning(); }));
    EXPECT_TRUE(fs::exists(output / "Track01.wav") && fs::exists(output / "Track03.wav"));
    EXPECT_FALSE(fs::exists(output / "Track02.wav"));
    for (int row = 0; row < 3; ++row) EXPECT_EQ(list.topLevelItem(row)->checkState(0), Qt::Unchecked);
    EXPECT_TRUE(Enabled(*window, kStartButton));
    EXPECT_FALSE(Enabled(*window, kThirdOptionRadio));

    // Taking the disc out and putting another in rereads the drive, but not in the Video Converter.
    ChangeDisc({});
    ASSERT_TRUE(ProcessEventsUntil([&] { return Rows() == 0; }, 10000));
    ChangeDisc({{1, 440}, {1, 660}});
    ASSERT_TRUE(ProcessEventsUntil([&] { return Rows() == 2; }, 10000));
    Click(*window, kVideoConverterButton);
    list.AddListFile(Q(TestClip("a.avi", 1)));
    const auto asked = server.requests().size();
    ChangeDisc({{1, 440}});
    ProcessEvents(1000);
    EXPECT_EQ(Column(2), QStringList{Q(TestClip("a.avi", 1))});
    EXPECT_EQ(server.requests().size(), asked);
}

}  // namespace
}  // namespace velmora::front
