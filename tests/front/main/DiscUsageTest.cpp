#include "lists/CFileListBox.h"
#include "main/CMediaMaster.h"
#include "FrontTesting.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace control = velmora::front::control;

using velmora::front::CMediaMaster;
using velmora::test::AnsweringDesktop;
using velmora::test::Caption;
using velmora::test::Click;
using velmora::test::Enabled;
using velmora::test::MakeWindow;
using velmora::test::ScratchFolder;

constexpr std::uint64_t kMiB = 1u << 20;

QProgressBar& Progress(const CMediaMaster& window)
{
    return *static_cast<QProgressBar*>(window.Control(control::kProgressBar));
}

QString Status(const CMediaMaster& window)
{
    return Caption(window, control::kStatusText);
}

// A file that reads as `bytes` long without taking the space.
std::string SparseFile(const ScratchFolder& folder, const std::string& name, std::uintmax_t bytes)
{
    const auto path = folder / name;
    velmora::test::WriteFile(path, "");
    std::filesystem::resize_file(path, bytes);
    return path.string();
}

class DiscUsageTest : public ::testing::Test {
protected:
    AnsweringDesktop desktop;
    ScratchFolder folder;
};

struct DvdOptionCase {
    int radio;
    int option;
    const char* left;
    const char* right;
    int maximum;
};

TEST_F(DiscUsageTest, EachDvdBurnerOptionSetsLabelsAndProgressRange)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kDvdDataBurnerButton);
    EXPECT_EQ(window->State().BurnOption(), 3);   // entering the mode chooses the CD size
    const DvdOptionCase cases[] = {
        {control::kSecondOptionRadio, 4, "0 GB", "4.5 GB", 8719},
        {control::kThirdOptionRadio, 5, "0 GB", "8.5 GB", 8912},
        {control::kFirstOptionRadio, 3, "0 MB", "700 MB", 734},
    };
    for (const auto& option : cases) {
        Click(*window, option.radio);
        EXPECT_EQ(window->State().BurnOption(), option.option);
        EXPECT_EQ(Caption(*window, control::kUsageLeftLabel), option.left) << option.radio;
        EXPECT_EQ(Caption(*window, control::kUsageRightLabel), option.right) << option.radio;
        EXPECT_EQ(Progress(*window).minimum(), 1) << option.radio;
        EXPECT_EQ(Progress(*window).maximum(), option.maximum) << option.radio;
        EXPECT_TRUE(Progress(*window).isVisibleTo(window.get()));
        EXPECT_EQ(Status(*window), "") << "nothing used yet";
    }
}

TEST_F(DiscUsageTest, DvdUsageReadsInGigabytesAndCdUsageInMegabytes)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kDvdDataBurnerButton);
    Click(*window, control::kSecondOptionRadio);
    window->BurnList().AddPath(QString::fromStdString(SparseFile(folder, "big.iso", 3 * (1u << 29))));   // 1.5 GiB
    EXPECT_EQ(Status(*window), "1.5 GB");
    EXPECT_EQ(Caption(*window, control::kUsageRightLabel), "4.5 GB");
    EXPECT_EQ(Progress(*window).value(), 1536);

    Click(*window, control::kFirstOptionRadio);
    EXPECT_EQ(Status(*window), "1536 MB");
    EXPECT_EQ(Caption(*window, control::kUsageRightLabel), "700 MB");
    EXPECT_EQ(Progress(*window).value(), 734) << "held at the end of the range";

    // Past 4 GiB the amount still counts in full.
    Click(*window, control::kThirdOptionRadio);
    window->BurnList().AddPath(QString::fromStdString(SparseFile(folder, "huge.iso", 5ull << 30)));
    EXPECT_GT(window->State().DiscUsed(), 6ull << 30);
    EXPECT_EQ(Status(*window), "6.5 GB");
}

TEST_F(DiscUsageTest, AudioBurnerCountsMinutesOfMusic)
{
    ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t", "61",
                                          "-ac", "2", "-c:a", "pcm_s16le", (folder / "song.wav").string()}));
    const auto window = MakeWindow(desktop);
    Click(*window, control::kAudioBurnerButton);
    EXPECT_EQ(Progress(*window).minimum(), 1);
    EXPECT_EQ(Progress(*window).maximum(), 4800);
    window->BurnList().AddPath(QString::fromStdString((folder / "song.wav").string()));
    ASSERT_EQ(window->BurnList().count(), 1);
    EXPECT_EQ(window->State().DiscUsed(), 61u);
    EXPECT_EQ(Status(*window), "1 min");
    EXPECT_EQ(Caption(*window, control::kUsageRightLabel), "80 min");
    EXPECT_EQ(Progress(*window).value(), 61);
}

TEST_F(DiscUsageTest, CdDataBurnerShowsNoUsageTexts)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kCdDataBurnerButton);
    EXPECT_EQ(Progress(*window).maximum(), 700);
    Click(*window, control::kSecondOptionRadio);
    window->BurnList().AddPath(QString::fromStdString(SparseFile(folder, "a.bin", 3 * kMiB)));
    EXPECT_EQ(Status(*window), "");
    EXPECT_EQ(Caption(*window, control::kUsageRightLabel), "");
    EXPECT_EQ(Progress(*window).value(), 3);
}

TEST_F(DiscUsageTest, CdDataBurnerOptionsEnableAndDisableTheirControls)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kCdDataBurnerButton);
    EXPECT_EQ(window->State().BurnOption(), 0);
    for (const int id : {control::kAddFilesButton, control::kAddFolderButton, control::kBurnList, control::kRemoveFilesButton}) EXPECT_FALSE(Enabled(*window, id)) << id;
    EXPECT_FALSE(window->BurnList().AcceptsDroppedFiles());

    Click(*window, control::kSecondOptionRadio);   // Create ISO File
    for (const int id : {control::kAddFilesButton, control::kAddFolderButton, control::kBurnList, control::kRemoveFilesButton}) EXPECT_TRUE(Enabled(*window, id)) << id;
    for (const int id : {control::kDriveLabel, control::kDriveList}) EXPECT_FALSE(Enabled(*window, id)) << id;
    EXPECT_TRUE(window->BurnList().AcceptsDroppedFiles());

    Click(*window, control::kThirdOptionRadio);   // Burn ISO File
    for (const int id : {control::kDriveLabel, control::kDriveList, control::kAddFilesButton, control::kAddFolderButton, control::kBurnList, control::kRemoveFilesButton}) EXPECT_FALSE(Enabled(*window, id)) << id;
    EXPECT_FALSE(window->BurnList().AcceptsDroppedFiles());

    Click(*window, control::kAudioBurnerButton);   // leaving undoes the option
    EXPECT_TRUE(Enabled(*window, control::kBurnList));
    EXPECT_TRUE(Enabled(*window, control::kDriveList));
}

TEST_F(DiscUsageTest, LeavingTheDvdBurnerForTheAudioBurnerHidesTheDiscSizes)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kDvdDataBurnerButton);
    Click(*window, control::kAudioBurnerButton);
    for (const int id : {control::kFirstOptionRadio, control::kSecondOptionRadio, control::kThirdOptionRadio}) EXPECT_FALSE(window->Control(id)->isVisibleTo(window.get())) << id;
    EXPECT_EQ(Caption(*window, control::kUsageLeftLabel), "0 min");
}

}  // namespace
