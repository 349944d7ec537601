#include "FrontTesting.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"
#include "lists/CFileListBox.h"
#include "main/CMediaMaster.h"
#include "main/DiscUsage.h"
#include "main/ModeTables.h"

#include <QProgressBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace velmora::front {
namespace {

using namespace velmora::test;
using namespace control;

constexpr std::uint64_t kMiB = 1u << 20;
constexpr std::uint64_t kGiB = 1u << 30;

TEST(DiscUsage, ReadsInMinutesMegabytesOrGigabytes)
{
    struct UsageCase {
        int mode;
        int option;
        std::uint64_t used;
        const char* capacityText;
        const char* usedText;
        std::uint64_t position;
    };
    const UsageCase cases[] = {
        {kModeAudioBurner, 0, 61, "80 min", "1 min", 61},
        {kModeAudioBurner, 0, 0, "80 min", "0 min", 0},
        {kModeDvdDataBurner, 3, 3 * kGiB / 2, "700 MB", "1536 MB", 1536},
        {kModeDvdDataBurner, 4, 3 * kGiB / 2, "4.5 GB", "1.5 GB", 1536},
        {kModeDvdDataBurner, 4, 0, "4.5 GB", "", 0},
        {kModeDvdDataBurner, 5, 13 * kGiB / 2, "8.5 GB", "6.5 GB", 6656},   // past 4 GiB, still in full
        {kModeCdDataBurner, 1, 3 * kMiB, "", "", 3},
    };
    for (const auto& usage : cases) {
        const std::uint64_t capacity = usage.mode == kModeAudioBurner ? kAudioCdSeconds
                                       : usage.mode == kModeCdDataBurner ? kCdDataBytes
                                                                         : DvdOptionOf(usage.option).capacity;
        const UsageDisplay shown = DescribeUsage(usage.mode, usage.option, usage.used, capacity);
        EXPECT_EQ(shown.capacityText, usage.capacityText) << usage.mode << "/" << usage.option << ": " << usage.used;
        EXPECT_EQ(shown.usedText, usage.usedText) << usage.mode << "/" << usage.option << ": " << usage.used;
        EXPECT_EQ(shown.position, usage.position) << usage.mode << "/" << usage.option << ": " << usage.used;
    }
}

TEST(DiscUsage, EachDvdOptionsLabelsAgreeWithItsUsageTexts)
{
    for (const int option : {3, 4, 5}) {
        const DvdOption& figures = DvdOptionOf(option);
        const UsageDisplay full = DescribeUsage(kModeDvdDataBurner, option, figures.capacity, figures.capacity);
        EXPECT_EQ(full.capacityText, figures.rightLabel) << option;
        EXPECT_EQ(QString(figures.leftLabel).section(' ', 1), full.capacityText.section(' ', 1)) << option;
    }
    EXPECT_THROW(DvdOptionOf(2), std::out_of_range);
    EXPECT_THROW(DvdOptionOf(6), std::out_of_range);
}

TEST(ModeTables, NameOnlyControlsOfTheWorkAreaAndRowsOfTheStringTable)
{
    const std::set<int> map(ControlMapIds().begin(), ControlMapIds().end());
    EXPECT_EQ(map.size(), ControlMapIds().size()) << "each control once";
    const auto expectMapped = [&](const std::vector<int>& ids, const std::string& what) {
        for (const int id : ids) EXPECT_TRUE(map.count(id)) << what << ": " << id;
    };
    for (int mode = kModeWelcome; mode <= kModeDvdDataBurner; ++mode) {
        const ModeControls& table = ControlsOfMode(mode);
        for (const auto* ids : {&table.hiddenOnLeave, &table.shownOnLeave, &table.enabledOnLeave, &table.shownOnEnter,
                                &table.enabledOnEnter, &table.disabledOnEnter})
            expectMapped(*ids, "mode " + std::to_string(mode));
        // Whatever a mode shows, it hides again when it is left.
        for (const int id : table.shownOnEnter)
            EXPECT_NE(std::find(table.hiddenOnLeave.begin(), table.hiddenOnLeave.end(), id), table.hiddenOnLeave.end())
                << "mode " << mode << ": " << id;
        for (const ModeCaption& caption : table.captions) {
            EXPECT_TRUE(map.count(caption.control)) << "mode " << mode << ": " << caption.control;
            EXPECT_TRUE(caption.row >= 0 ? caption.row < kUiStringCount : caption.text != nullptr);
        }
    }
    EXPECT_THROW(ControlsOfMode(7), std::out_of_range);
    for (const int option : {0, 1, 2}) expectMapped(ControlsDisabledByCdOption(option), "CD option");
    EXPECT_TRUE(ControlsDisabledByCdOption(3).empty());
}

// A file that reads as `bytes` long without taking the space.
QString SparseFile(const ScratchFolder& folder, const std::string& name, std::uintmax_t bytes)
{
    WriteFile(folder / name, "");
    std::filesystem::resize_file(folder / name, bytes);
    return QString::fromStdString((folder / name).string());
}

TEST(DiscUsageWiring, TheBurnerOptionsSetTheUsageBarAndTheControls)
{
    AnsweringDesktop desktop;
    ScratchFolder folder;
    const auto window = MakeWindow(desktop);
    const auto& progress = *static_cast<QProgressBar*>(window->Control(kProgressBar));
    Click(*window, kDvdDataBurnerButton);
    EXPECT_EQ(window->State().BurnOption(), 3);
    Click(*window, kThirdOptionRadio);
    EXPECT_EQ(window->State().BurnOption(), 5);
    EXPECT_EQ(Caption(*window, kUsageLeftLabel), "0 GB");
    EXPECT_EQ(Caption(*window, kUsageRightLabel), "8.5 GB");
    EXPECT_EQ(progress.minimum(), 1);
    EXPECT_EQ(progress.maximum(), 8912);
    EXPECT_EQ(Caption(*window, kStatusText), "") << "nothing used yet";
    window->BurnList().AddPath(SparseFile(folder, "big.iso", 3 * kGiB / 2));
    EXPECT_EQ(Caption(*window, kStatusText), "1.5 GB");
    EXPECT_EQ(progress.value(), 1536);
    Click(*window, kFirstOptionRadio);
    EXPECT_EQ(Caption(*window, kStatusText), "1536 MB");
    EXPECT_EQ(progress.value(), 734) << "held at the end of the range";

    Click(*window, kAudioBurnerButton);
    EXPECT_EQ(Caption(*window, kUsageLeftLabel), "0 min");
    EXPECT_EQ(progress.maximum(), 4800);

    Click(*window, kCdDataBurnerButton);
    EXPECT_EQ(window->State().BurnOption(), 0);
    EXPECT_FALSE(window->BurnList().AcceptsDroppedFiles());
    Click(*window, kSecondOptionRadio);   // Create ISO File
    for (const int id : {kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton})
        EXPECT_TRUE(Enabled(*window, id)) << id;
    for (const int id : {kDriveLabel, kDriveList}) EXPECT_FALSE(Enabled(*window, id)) << id;
    EXPECT_TRUE(window->BurnList().AcceptsDroppedFiles());
    window->BurnList().AddPath(SparseFile(folder, "a.bin", 3 * kMiB));
    EXPECT_EQ(Caption(*window, kStatusText), "");
    EXPECT_EQ(progress.maximum(), 700);
    EXPECT_EQ(progress.value(), 3);

    Click(*window, kThirdOptionRadio);   // Burn ISO File
    for (const int id : {kDriveLabel, kDriveList, kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton})
        EXPECT_FALSE(Enabled(*window, id)) << id;
    EXPECT_FALSE(window->BurnList().AcceptsDroppedFiles());
    Click(*window, kAudioBurnerButton);   // leaving undoes the option
    EXPECT_TRUE(Enabled(*window, kBurnList));
    EXPECT_TRUE(Enabled(*window, kDriveList));
}

}  // namespace
}  // namespace velmora::front
