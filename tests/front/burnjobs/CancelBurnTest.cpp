#include "BurnJobsTesting.h"
#include "burnjobs/CBurnJobs.h"
#include "lists/CFileListBox.h"
#include "BurnTestSupport.h"
#include "core/ControlIds.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>

#include <fstream>

// A program of its own, so that its cancelled writes, whose libburn threads outlive them for a
// while, cannot disturb the other burn tests.
namespace velmora::test {
namespace {

namespace control = velmora::front::control;

using discburn::test::HiddenFiles;

class CancelBurnTest : public BurnWindowTest {};

TEST_F(CancelBurnTest, CancelDuringALargeWriteLeavesNoImage)
{
    const auto target = scratch / "discs/data.iso";
    std::filesystem::create_directories(scratch / "discs");
    Configure("stdio:" + target.string());
    // Sparse: the image is large, the source takes no room.
    std::ofstream(scratch / "large.bin").close();
    std::filesystem::resize_file(scratch / "large.bin", std::uint64_t{3} << 30);

    OpenInMode(control::kDvdDataBurnerButton);
    window->BurnList().AddPath(QString::fromStdString((scratch / "large.bin").string()));
    Click(*window, control::kStartButton);
    QPushButton* cancel = nullptr;
    for (auto* button : window->findChildren<QPushButton*>())
        if (button->isVisible() && button->text() == "Cancel") cancel = button;
    ASSERT_NE(cancel, nullptr);

    // Once the image is being written, Escape asks the burn to stop.
    QElapsedTimer timer;
    timer.start();
    while (HiddenFiles(scratch / "discs").empty() && window->BurnJobs().Running() && timer.elapsed() < 60000)
        ProcessEvents(5);
    ASSERT_TRUE(window->BurnJobs().Running()) << Status().toStdString();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &escape);
    WaitForBurn();
    EXPECT_EQ(Status(), "User Canceled!");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());
    EXPECT_FALSE(cancel->isVisible());
    EXPECT_TRUE(Enabled(*window, control::kStartButton));

    // A burn right after the cancel writes a whole image: the cancelled write's last messages
    // are not taken for the new one's.
    WriteFile(scratch / "small.txt", "small");
    window->BurnList().Empty();
    window->BurnList().AddPath(QString::fromStdString((scratch / "small.txt").string()));
    Burn();
    EXPECT_EQ(Status(), "Burn completed successfully!");
    const auto image = discburn::test::ReadIsoImage(target, true);
    ASSERT_TRUE(image.read);
    EXPECT_EQ(image.contents.at("small.txt"), "small");
}

TEST_F(CancelBurnTest, TheCancelButtonStopsAnIsoFileBeforeItIsComplete)
{
    std::filesystem::create_directories(scratch / "isos");
    Configure("stdio:" + (scratch / "recorder.iso").string());
    discburn::test::MakeSpottedFile(scratch / "large.bin", std::uint64_t{3} << 30);

    OpenInMode(control::kCdDataBurnerButton);
    Click(*window, control::kSecondOptionRadio);
    window->BurnList().AddPath(QString::fromStdString((scratch / "large.bin").string()));
    desktop.chosenSaveFile = QString::fromStdString((scratch / "isos/big.iso").string());
    Click(*window, control::kStartButton);
    QElapsedTimer timer;
    timer.start();
    while (HiddenFiles(scratch / "isos").empty() && window->BurnJobs().Running() && timer.elapsed() < 60000)
        ProcessEvents(5);
    ASSERT_TRUE(window->BurnJobs().Running()) << Status().toStdString();
    for (auto* button : window->findChildren<QPushButton*>())
        if (button->isVisible() && button->text() == "Cancel") button->click();
    WaitForBurn();
    EXPECT_EQ(Status(), "User Canceled!");
    EXPECT_TRUE(std::filesystem::is_empty(scratch / "isos"));
}

}  // namespace
}  // namespace velmora::test
