#include "BurnTestSupport.h"
#include "FrontTesting.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"
#include "lists/CFileListBox.h"
#include "main/CMediaMaster.h"

#include <QKeyEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::front {
namespace {

namespace fs = std::filesystem;
using namespace velmora::test;
using namespace control;

// Start shows Cancel in its place until the burn thread has ended.
void Burn(CMediaMaster& window)
{
    Click(window, kStartButton);
    QPushButton* cancel = nullptr;
    for (auto* button : window.findChildren<QPushButton*>())
        if (button->isVisible() && button->text() == "Cancel") cancel = button;
    ASSERT_NE(cancel, nullptr);
    ASSERT_TRUE(ProcessEventsUntil([&] { return !window.BurnJobs().Running() && !cancel->isVisible(); }));
    EXPECT_TRUE(Enabled(window, kStartButton));
    EXPECT_FALSE(window.State().Busy());
}

TEST(WindowBurn, StartBurnsTheListAndCancelOrEscapeStopsTheBurn)
{
    ScratchFolder scratch;
    const ScopedEnvironment recorders("VELMORA_RECORDERS", "stdio:" + (scratch / "recorder.iso").string());
    WriteFile(scratch / "notes.txt", "notes\n");
    fs::create_directory(scratch / "Letters");
    WriteFile(scratch / "Letters/first.txt", "Dear reader");
    AnsweringDesktop desktop;
    const auto window = MakeWindow(desktop);
    Click(*window, kCdDataBurnerButton);
    Click(*window, kSecondOptionRadio);   // Create ISO File
    for (const char* name : {"notes.txt", "Letters"})
        window->BurnList().AddPath(QString::fromStdString((scratch / name).string()));
    desktop.chosenSaveFile = QString::fromStdString((scratch / "made").string());
    Burn(*window);
    EXPECT_EQ(Caption(*window, kStatusText), "Burn completed successfully!");
    const auto image = discburn::test::ReadIsoImage(scratch / "made.iso", true);
    ASSERT_TRUE(image.read);
    EXPECT_EQ(image.volumeId, window->State().DateStamp());
    EXPECT_EQ(image.contents.at("notes.txt"), "notes\n");
    EXPECT_EQ(image.contents.at("Letters/first.txt"), "Dear reader");

    // The user stops the next burn while it asks where to write the image.
    const std::function<void()> stops[] = {
        [&] {
            for (auto* button : window->findChildren<QPushButton*>())
                if (button->isVisible() && button->text() == "Cancel") button->click();
        },
        [&] {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(window.get(), &escape);
        },
    };
    desktop.chosenSaveFile = QString::fromStdString((scratch / "stopped.iso").string());
    for (const auto& stop : stops) {
        desktop.whileSaving = stop;
        Burn(*window);
        EXPECT_EQ(Caption(*window, kStatusText), "User Canceled!");
        EXPECT_FALSE(fs::exists(scratch / "stopped.iso"));
        EXPECT_TRUE(window->isVisible());
    }
    EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace velmora::front
