#include "BurnJobsTesting.h"
#include "burnjobs/CBurnJobs.h"
#include "lists/CFileListBox.h"
#include "BurnTestSupport.h"
#include "image/IsoCheck.h"
#include "core/ControlIds.h"

#include <QComboBox>

namespace velmora::test {
namespace {

namespace control = velmora::front::control;

using discburn::test::HiddenFiles;
using discburn::test::ReadIsoImage;
using front::MessageKind;

constexpr int kDvdDataBurner = control::kDvdDataBurnerButton;

class DataBurnJobTest : public BurnWindowTest {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(scratch / "source/Holiday Photos/Day One");
        std::filesystem::create_directory(scratch / "discs");
        WriteFile(scratch / "source/Read Me First.txt", "two files and a folder\n");
        WriteFile(scratch / "source/numbers.csv", "1,2,3\n");
        WriteFile(scratch / "source/Holiday Photos/beach.jpg", std::string(5000, 'b'));
        WriteFile(scratch / "source/Holiday Photos/Day One/morning.jpg", "sunrise");
        Configure("stdio:" + target.string());
    }

    void ListTwoFilesAndAFolder()
    {
        for (const char* name : {"Read Me First.txt", "Holiday Photos", "numbers.csv"})
            window->BurnList().AddPath(QString::fromStdString((scratch / "source" / name).string()));
    }

    const std::filesystem::path target = scratch / "discs/data.iso";
};

TEST_F(DataBurnJobTest, TheRecorderDropDownListsThePseudoRecorderByItsPath)
{
    OpenInMode(kDvdDataBurner);
    auto* recorders = static_cast<QComboBox*>(window->Control(control::kDriveList));
    ASSERT_EQ(recorders->count(), 1);
    EXPECT_EQ(recorders->itemText(0).toStdString(), target.string());
    EXPECT_EQ(recorders->currentIndex(), 0);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(DataBurnJobTest, TwoFilesAndAFolderBurnAndReadBackThenTheDiscIsNoLongerBlank)
{
    OpenInMode(kDvdDataBurner);
    ListTwoFilesAndAFolder();
    Burn();
    EXPECT_EQ(Status(), "Burn completed successfully!");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());

    const auto joliet = ReadIsoImage(target, true);
    ASSERT_TRUE(joliet.read);
    EXPECT_TRUE(joliet.hasJoliet);
    EXPECT_EQ(joliet.volumeId, window->State().DateStamp());
    EXPECT_EQ(joliet.contents.at("Read Me First.txt"), "two files and a folder\n");
    EXPECT_EQ(joliet.contents.at("numbers.csv"), "1,2,3\n");
    EXPECT_EQ(joliet.files.at("Holiday Photos/beach.jpg"), 5000u);
    EXPECT_EQ(joliet.contents.at("Holiday Photos/Day One/morning.jpg"), "sunrise");
    EXPECT_EQ(joliet.files.size(), 6u);   // two folders besides the four files

    // The controls are back and a second burn onto the same image is refused.
    EXPECT_TRUE(Enabled(*window, control::kStartButton));
    EXPECT_FALSE(window->State().Busy());
    const auto written = ReadFile(target);
    Burn();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              "Inserted Media is not writable.\n\nPlease insert the Blank media and try again.");
    EXPECT_EQ(desktop.messages[0].caption, "Velmora 1.2");
    EXPECT_EQ(desktop.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(Status(), "Media is not Blank.");
    EXPECT_EQ(ReadFile(target), written);
}

TEST_F(DataBurnJobTest, AnEmptyBurnListStartsNothing)
{
    OpenInMode(kDvdDataBurner);
    window->SetStatusText("before");
    Burn();
    EXPECT_EQ(Status(), "before");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
}  // namespace velmora::test
