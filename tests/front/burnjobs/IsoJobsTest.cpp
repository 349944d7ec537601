#include "BurnJobsTesting.h"
#include "lists/CFileListBox.h"
#include "BurnTestSupport.h"
#include "image/IsoCheck.h"
#include "core/ControlIds.h"

#include <QComboBox>

namespace velmora::test {
namespace {

namespace control = velmora::front::control;

using discburn::IsIso9660Image;
using discburn::test::HiddenFiles;
using discburn::test::ReadIsoImage;

constexpr int kCdDataBurner = control::kCdDataBurnerButton;
constexpr int kCopyDisk = control::kFirstOptionRadio;
constexpr int kCreateIsoFile = control::kSecondOptionRadio;
constexpr int kBurnIsoFile = control::kThirdOptionRadio;

class IsoJobsTest : public BurnWindowTest {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(scratch / "source/Letters");
        std::filesystem::create_directory(scratch / "discs");
        WriteFile(scratch / "source/notes.txt", "notes\n");
        WriteFile(scratch / "source/Letters/first.txt", "Dear reader");
        Configure("stdio:" + recorder.string());
    }

    // Create ISO File from the burn list into the path the save dialog gives.
    void CreateIso(const std::filesystem::path& chosen)
    {
        OpenInMode(kCdDataBurner);
        Click(*window, kCreateIsoFile);
        for (const char* name : {"notes.txt", "Letters"})
            window->BurnList().AddPath(QString::fromStdString((scratch / "source" / name).string()));
        desktop.chosenSaveFile = QString::fromStdString(chosen.string());
        Burn();
    }

    void BurnIso(const std::filesystem::path& chosen)
    {
        OpenInMode(kCdDataBurner);
        Click(*window, kBurnIsoFile);
        desktop.chosenExistingFile = QString::fromStdString(chosen.string());
        window->SetStatusText("before");
        Burn();
    }

    const std::filesystem::path recorder = scratch / "discs/recorder.iso";
};

TEST_F(IsoJobsTest, CreateIsoFileWritesTheListAsAnImageAndAddsTheExtension)
{
    CreateIso(scratch / "made");
    EXPECT_EQ(Status(), "Burn completed successfully!");
    EXPECT_TRUE(desktop.filters.contains("ISO Files (*.iso)"));
    ASSERT_TRUE(IsIso9660Image(scratch / "made.iso"));
    EXPECT_TRUE(HiddenFiles(scratch.path()).empty());
    const auto image = ReadIsoImage(scratch / "made.iso", false);
    ASSERT_TRUE(image.read);
    EXPECT_EQ(image.contents.at("notes.txt"), "notes\n");
    EXPECT_EQ(image.contents.at("Letters/first.txt"), "Dear reader");
    EXPECT_EQ(image.volumeId, window->State().DateStamp());
    EXPECT_FALSE(std::filesystem::exists(recorder));   // no disc is written
}

TEST_F(IsoJobsTest, CreateIsoFileDoesNothingWhenTheSaveDialogIsCancelled)
{
    CreateIso({});
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_NE(Status(), "Burn completed successfully!");
    EXPECT_TRUE(std::filesystem::is_empty(scratch / "discs"));
}

TEST_F(IsoJobsTest, BurnIsoFileWritesTheImageEvenWithTheExtensionInCapitals)
{
    CreateIso(scratch / "made.iso");
    std::filesystem::rename(scratch / "made.iso", scratch / "MADE.ISO");
    window.reset();
    BurnIso(scratch / "MADE.ISO");
    EXPECT_EQ(Status(), "Burn completed successfully!");
    const auto image = ReadIsoImage(recorder, true);
    ASSERT_TRUE(image.read);
    EXPECT_EQ(image.contents.at("Letters/first.txt"), "Dear reader");
    EXPECT_EQ(ReadFile(recorder).substr(0, 40000), ReadFile(scratch / "MADE.ISO").substr(0, 40000));
}

TEST_F(IsoJobsTest, BurnIsoFileEndsSilentlyForAnotherExtension)
{
    CreateIso(scratch / "made.iso");
    std::filesystem::rename(scratch / "made.iso", scratch / "made.img");
    window.reset();
    BurnIso(scratch / "made.img");
    EXPECT_EQ(Status(), "before");
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(recorder));
}

TEST_F(IsoJobsTest, BurnIsoFileRefusesAFileThatIsNoIsoImage)
{
    WriteFile(scratch / "fake.iso", std::string(70000, 'x'));
    BurnIso(scratch / "fake.iso");
    EXPECT_EQ(Status().toStdString(), "Not an ISO 9660 image: " + (scratch / "fake.iso").string());
    EXPECT_FALSE(std::filesystem::exists(recorder));
}

}  // namespace
}  // namespace velmora::test
