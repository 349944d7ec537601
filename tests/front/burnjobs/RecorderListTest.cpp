#include "FrontTesting.h"
#include "ScratchFolder.h"
#include "burnjobs/BurnRows.h"
#include "burnjobs/CDriveSelector.h"
#include "burnjobs/RecorderList.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

TEST(RecorderDropDown, ListsTheRecordersThatOpenAndTellsWhenThereIsNone)
{
    TestApplication();
    ScratchFolder scratch;
    QComboBox list;
    front::RecorderDropDown recorders(list);
    QStringList told;
    const auto fill = [&](const std::string& configured) {
        const ScopedEnvironment variable("VELMORA_RECORDERS", configured);
        told.clear();
        recorders.Fill(front::kModeAudioBurner, [&](const std::string& text) { told << QString::fromStdString(text); });
    };
    fill("");
    EXPECT_EQ(told, QStringList{"There were no writable devices detected!"});
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(recorders.Choice(), std::nullopt);

    const std::string broken = "stdio:" + (scratch / "no such folder/disc.iso").string();
    fill(broken);   // the only recorder failing to open is named
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith("Failed to initialize recorder - Error:0x")) << told[0].toStdString();
    EXPECT_TRUE(told[0].endsWith(QString::fromStdString("\n\nRecorder Unique ID:" + broken)));
    EXPECT_EQ(list.count(), 0);

    const std::string cue = "cue:" + (scratch / "audio.cue").string();
    fill(broken + ";" + cue);   // of two, the one failing to open is left out silently
    EXPECT_TRUE(told.isEmpty());
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.itemText(0).toStdString(), (scratch / "audio.cue").string());
    EXPECT_EQ(list.currentIndex(), 0);
    EXPECT_EQ(recorders.Choice(), cue);
}

TEST(DriveSelector, AsksForABlankDiscAndNeedsARecorder)
{
    TestApplication();
    AnsweringDesktop desktop;
    ScratchFolder scratch;
    {
        const ScopedEnvironment none("VELMORA_RECORDERS", "");
        front::CDriveSelector empty(true, desktop);
        EXPECT_EQ(empty.windowTitle(), "Media Drive Selector - Velmora 1.2");
        EXPECT_TRUE(empty.Prompt().text().startsWith("Please insert the blank media to burn the copied CD."));
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].text, "There were no writable devices detected!");
        empty.BurnButton().click();
        EXPECT_EQ(empty.result(), QDialog::Rejected);
        EXPECT_TRUE(empty.ChosenId().empty());
    }
    const std::string id = "stdio:" + (scratch / "copy.iso").string();
    const ScopedEnvironment one("VELMORA_RECORDERS", id);
    front::CDriveSelector spanish(false, desktop);
    EXPECT_EQ(spanish.windowTitle(), "Seleccione el dispositivo - Velmora 1.2");
    ASSERT_EQ(spanish.Recorders().count(), 1);
    spanish.BurnButton().click();
    EXPECT_EQ(spanish.result(), QDialog::Accepted);
    EXPECT_EQ(spanish.ChosenId(), id);
}

TEST(BurnRows, StatusLinesOfProgressAndResults)
{
    using namespace discburn;
    EXPECT_EQ(front::ProgressStatusText({kAudioPreparing, 0, 3}, true), "Preparing to write 3 audio tracks...");
    EXPECT_EQ(front::ProgressStatusText({kAudioWriting, 2, 3}, true), "Writing track 2 of 3...");
    EXPECT_TRUE(front::ProgressStatusText({kAudioUnknown, 0, 3}, true).isNull());
    EXPECT_EQ(front::ProgressStatusText({kCalibratingPower}, false), "Optimizing laser intensity...");
    EXPECT_TRUE(front::ProgressStatusText({kWritingData}, false).isNull());   // the status line stays
    EXPECT_EQ(front::ResultStatusText(kOk, "Done"), "Done");
    EXPECT_EQ(front::ResultStatusText(kNoMedia, "No disc"), "No disc - Error:0x8BA00003");
}

}  // namespace
}  // namespace velmora::test
