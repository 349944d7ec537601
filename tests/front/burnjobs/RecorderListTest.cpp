#include "BurnJobsTesting.h"
#include "burnjobs/CDriveSelector.h"
#include "lists/CFileListBox.h"
#include "core/ControlIds.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace velmora::test {
namespace {

namespace control = velmora::front::control;

using front::CDriveSelector;
using front::MessageKind;

class RecorderListTest : public BurnWindowTest {};

TEST_F(RecorderListTest, NoRecordersIsToldAndAStartEndsWithNoDeviceSelected)
{
    OpenInMode(control::kDvdDataBurnerButton);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "There were no writable devices detected!");
    EXPECT_EQ(desktop.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(static_cast<QComboBox*>(window->Control(control::kDriveList))->count(), 0);

    WriteFile(scratch / "file.txt", "data");
    window->BurnList().AddPath(QString::fromStdString((scratch / "file.txt").string()));
    Burn();
    EXPECT_EQ(Status(), "Error: No Device Selected");
}

TEST_F(RecorderListTest, TheOnlyRecorderFailingToOpenIsNamed)
{
    const std::string id = "stdio:" + (scratch / "no such folder/disc.iso").string();
    Configure(id);
    OpenInMode(control::kAudioBurnerButton);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].text.startsWith("Failed to initialize recorder - Error:0x"));
    EXPECT_TRUE(desktop.messages[0].text.endsWith(QString::fromStdString("\n\nRecorder Unique ID:" + id)));
    EXPECT_EQ(static_cast<QComboBox*>(window->Control(control::kDriveList))->count(), 0);
}

TEST_F(RecorderListTest, OfTwoRecordersTheOneFailingToOpenIsLeftOutSilently)
{
    Configure("stdio:" + (scratch / "no such folder/disc.iso").string() + ";cue:" + (scratch / "audio.cue").string());
    OpenInMode(control::kCdDataBurnerButton);
    EXPECT_TRUE(desktop.messages.empty());
    auto* recorders = static_cast<QComboBox*>(window->Control(control::kDriveList));
    ASSERT_EQ(recorders->count(), 1);
    EXPECT_EQ(recorders->itemText(0).toStdString(), (scratch / "audio.cue").string());
    // Leaving for a converter mode empties the list.
    Click(*window, control::kAudioConverterButton);
    EXPECT_EQ(recorders->count(), 0);
}

TEST_F(RecorderListTest, TheDriveSelectorAsksForABlankDiscAndNeedsARecorder)
{
    TestApplication();
    {
        CDriveSelector empty(true, desktop);
        EXPECT_EQ(empty.windowTitle(), "Media Drive Selector - Velmora 1.2");
        EXPECT_EQ(empty.Prompt().text(),
                  "Please insert the blank media to burn the copied CD.\n\nPress Cancel if you don't want to burn right now.");
        EXPECT_EQ(empty.BurnButton().text(), "Burn it!");
        EXPECT_EQ(empty.CancelButton().text(), "Cancel");
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].text, "There were no writable devices detected!");
        empty.BurnButton().click();
        EXPECT_EQ(empty.result(), 0);
        EXPECT_TRUE(empty.ChosenId().empty());
    }
    const std::string id = "stdio:" + (scratch / "copy.iso").string();
    Configure(id);
    CDriveSelector spanish(false, desktop);
    EXPECT_EQ(spanish.windowTitle(), "Seleccione el dispositivo - Velmora 1.2");
    ASSERT_EQ(spanish.Recorders().count(), 1);
    spanish.BurnButton().click();
    EXPECT_EQ(spanish.result(), QDialog::Accepted);
    EXPECT_EQ(spanish.ChosenId(), id);
}

}  // namespace
}  // namespace velmora::test
