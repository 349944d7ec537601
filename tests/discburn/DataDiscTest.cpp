#include "BurnTestSupport.h"
#include "ScratchFolder.h"
#include "image/ImageBuilder.h"
#include "image/IsoCheck.h"
#include "recorders/RecorderDevice.h"
#include "writers/DiscFormatData.h"

#include <gtest/gtest.h>

namespace velmora::discburn {
namespace {

using namespace test;
using namespace velmora::test;

// Cancels as soon as the writer's temporary file holds data, so the cancel falls inside the write.
std::function<int(const WriteProgress&)> CancelOnceDataShows(const std::filesystem::path& folder, bool& sawPartial)
{
    return [folder, &sawPartial](const WriteProgress&) {
        for (const auto& name : HiddenFiles(folder))
            if (std::filesystem::file_size(folder / name) > 0) sawPartial = true;
        return sawPartial ? 0 : 1;
    };
}

class DataDiscTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(scratch / "source/Holiday Photos/Day One");
        WriteFile(scratch / "source/Read Me First.txt", "two files and a folder\n");
        WriteFile(scratch / "source/numbers.csv", "1,2,3\n");
        WriteFile(scratch / "source/Holiday Photos/beach.jpg", std::string(5000, 'b'));
        WriteFile(scratch / "source/Holiday Photos/Day One/morning.jpg", "sunrise");
        std::filesystem::create_directory(scratch / "discs");
    }

    std::vector<std::filesystem::path> BurnList() const
    {
        return {scratch / "source/Read Me First.txt", scratch / "source/Holiday Photos", scratch / "source/numbers.csv"};
    }

    // The data-disc job: take the recorder, initialise with the media check, look for a blank
    // disc, build and write. Returns whether the media was blank.
    bool BurnData(const std::string& recorderId, RecordingWindow& window, CDiscFormatData& writer)
    {
        CRecorderDevice device;
        EXPECT_TRUE(device.Open(recorderId) && device.AcquireExclusive(kClientName));
        EXPECT_TRUE(writer.Initialize(&device, kClientName, false)) << writer.errorText;
        if (!writer.IsBlankMedia()) return false;
        auto image = BuildImageFromList(window, BurnList());
        EXPECT_TRUE(image && writer.Write(image.get(), &window));
        device.Eject();
        device.ReleaseExclusive();
        return true;
    }

    ScratchFolder scratch;
};

TEST_F(DataDiscTest, ADataBurnHoldsTheFilesAndTheFolderByItsOwnNameAndASecondFindsTheMediaWritten)
{
    const auto target = scratch / "discs/data.iso";
    RecordingWindow window;
    CDiscFormatData writer;
    ASSERT_TRUE(BurnData("stdio:" + target.string(), window, writer));
    EXPECT_EQ(writer.hr, kOk) << writer.errorText;
    EXPECT_TRUE(writer.errorText.empty() && window.results.empty() && HiddenFiles(scratch / "discs").empty());
    EXPECT_TRUE(IsIso9660Image(target));

    const std::map<std::string, std::uint64_t> tree{
        {"Read Me First.txt", 23}, {"numbers.csv", 6}, {"Holiday Photos/", 0}, {"Holiday Photos/beach.jpg", 5000},
        {"Holiday Photos/Day One/", 0}, {"Holiday Photos/Day One/morning.jpg", 7}};
    const auto rockRidge = ReadIsoImage(target, false), joliet = ReadIsoImage(target, true);
    EXPECT_TRUE(rockRidge.hasRockRidge && joliet.hasJoliet);
    EXPECT_EQ(rockRidge.volumeId, "2009_11_18");   // the window's date stamp
    EXPECT_EQ(rockRidge.files, tree);
    EXPECT_EQ(joliet.files, tree);
    EXPECT_EQ(rockRidge.contents.at("Holiday Photos/Day One/morning.jpg"), "sunrise");
    EXPECT_EQ(window.statuses, (std::vector<std::string>{"Creating File System...",
                                                         "Adding \"Read Me First.txt\" to file system...",
                                                         "Adding \"Holiday Photos\" to file system...",
                                                         "Adding \"numbers.csv\" to file system..."}));
    EXPECT_EQ(std::pair(window.progress.front().action, window.progress.back().action),
              std::pair(+kValidatingMedia, +kCompleted));

    const auto written = ReadFile(target);
    RecordingWindow second;
    CDiscFormatData again;
    EXPECT_FALSE(BurnData("stdio:" + target.string(), second, again));
    EXPECT_EQ(again.errorText, "Media is not Blank.");
    EXPECT_EQ(ReadFile(target), written);
}

TEST_F(DataDiscTest, TheWriterTakesOnlyRecordersAndMediaItCanWrite)
{
    WriteFile(scratch / "discs/text.iso", "not an image");
    CRecorderDevice cue, image, text;
    ASSERT_TRUE(cue.Open("cue:" + (scratch / "discs/audio.cue").string()));
    ASSERT_TRUE(image.Open("stdio:" + (scratch / "discs/new.iso").string()));
    ASSERT_TRUE(text.Open("stdio:" + (scratch / "discs/text.iso").string()));
    CDiscFormatData none, audioOnly, badClient, blank, written;
    EXPECT_FALSE(none.Initialize(nullptr, kClientName, false) || audioOnly.Initialize(&cue, kClientName, false) ||
                 badClient.Initialize(&image, "a/b", false));
    EXPECT_EQ(audioOnly.errorText, "Recorder not supported");
    ASSERT_TRUE(blank.Initialize(&image, kClientName, false) && written.Initialize(&text, kClientName, false));
    EXPECT_TRUE(blank.IsBlankMedia());
    EXPECT_FALSE(written.IsBlankMedia());   // anything in the file that is not an ISO image
}

TEST_F(DataDiscTest, CreateIsoWritesTheImageInPlaceOfAnOldFileOrSaysWhyNot)
{
    const auto iso = scratch / "discs/made.iso";
    WriteFile(iso, std::string(100000, 'x'));
    CRecorderDevice device;
    ASSERT_TRUE(device.Open("stdio:" + (scratch / "discs/recorder.iso").string()));
    CDiscFormatData writer;
    ASSERT_TRUE(writer.Initialize(&device, kClientName, true));
    RecordingWindow window;
    auto image = BuildImageFromList(window, BurnList());
    ASSERT_TRUE(image);
    EXPECT_TRUE(writer.CreateISO(image.get(), &window, iso));
    EXPECT_EQ(writer.hr, kOk);
    EXPECT_EQ(std::filesystem::file_size(iso), image->Size());
    EXPECT_EQ(ReadIsoImage(iso, false).files.size(), 6u);
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());
    EXPECT_FALSE(std::filesystem::exists(scratch / "discs/recorder.iso"));   // no disc is written

    CDiscFormatData nowhere;
    image = BuildImageFromList(window, BurnList());
    EXPECT_FALSE(nowhere.CreateISO(image.get(), &window, scratch / "no/such/folder/x.iso"));
    EXPECT_EQ(nowhere.errorText, "IDiscFormat2Data->CreateISO Failed - Error:0x8ba00006");
    EXPECT_FALSE(nowhere.CreateISO(nullptr, &window, scratch / "discs/x.iso"));
}

TEST_F(DataDiscTest, ACancelledWriteOrIsoFileLeavesNoPartialFileAndKeepsTheOldOne)
{
    MakeSpottedFile(scratch / "source/large.bin", 384ull << 20);
    const auto target = scratch / "discs/cancelled.iso", iso = scratch / "discs/old.iso";
    WriteFile(iso, "the image made yesterday");
    CRecorderDevice device;
    ASSERT_TRUE(device.Open("stdio:" + target.string()));
    CDiscFormatData writer, isoWriter;
    ASSERT_TRUE(writer.Initialize(&device, kClientName, false));

    RecordingWindow window, isoWindow;
    bool sawPartial = false, sawPartialIso = false;
    window.reply = CancelOnceDataShows(scratch / "discs", sawPartial);
    isoWindow.reply = CancelOnceDataShows(scratch / "discs", sawPartialIso);
    auto image = BuildImageFromList(window, {scratch / "source/large.bin"});
    ASSERT_TRUE(image);
    EXPECT_TRUE(writer.Write(image.get(), &window));
    EXPECT_EQ(writer.hr, kCancelled);
    image = BuildImageFromList(isoWindow, {scratch / "source/large.bin"});
    EXPECT_FALSE(isoWriter.CreateISO(image.get(), &isoWindow, iso));
    EXPECT_EQ(isoWriter.hr, kCancelled);

    EXPECT_TRUE(sawPartial && sawPartialIso);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(ReadFile(iso), "the image made yesterday");
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());
}

TEST_F(DataDiscTest, TheBuildStopsOnCancelAndOnClashingNamesAndLeavesUnreadableFilesOut)
{
    RecordingWindow cancelled;
    cancelled.cancelRequest = [] { return true; };
    EXPECT_FALSE(BuildImageFromList(cancelled, BurnList()));
    EXPECT_EQ(cancelled.results, (std::vector<std::pair<HResult, std::string>>{{0, "User Canceled!"}}));
    EXPECT_EQ(cancelled.statuses.size(), 2u);   // stopped after the first entry

    std::filesystem::create_directory(scratch / "other");
    WriteFile(scratch / "other/numbers.csv", "4,5\n");
    RecordingWindow clash;
    EXPECT_FALSE(BuildImageFromList(clash, {scratch / "source/numbers.csv", scratch / "other/numbers.csv"}));
    ASSERT_EQ(clash.results.size(), 1u);
    EXPECT_LT(clash.results[0].first, 0);
    EXPECT_EQ(clash.results[0].second, "Failed IFsiDirectoryItem->AddFile(numbers.csv)!");

    RecordingWindow window;
    auto image = BuildImageFromList(window, {scratch / "source/gone.txt", scratch / "source/numbers.csv"});
    CDiscFormatData writer;
    ASSERT_TRUE(image && writer.CreateISO(image.get(), &window, scratch / "discs/one.iso"));
    EXPECT_TRUE(window.results.empty());
    EXPECT_EQ(ReadIsoImage(scratch / "discs/one.iso", false).files.size(), 1u);
}

TEST(IsoCheckTest, OnlyTheSignatureAtItsPlaceMakesAnImage)
{
    ScratchFolder scratch;
    std::string image(40000, '\0');
    WriteFile(scratch / "a.iso", image.replace(32769, 5, "CD001"));
    WriteFile(scratch / "b.ISO", image.replace(32769, 5, "CD002"));
    WriteFile(scratch / "short.iso", std::string(32772, '\0') + "CD001");
    EXPECT_TRUE(IsIso9660Image(scratch / "a.iso"));
    for (const char* other : {"b.ISO", "short.iso", "missing.iso"})
        EXPECT_FALSE(IsIso9660Image(scratch / other)) << other;
}

}  // namespace
}  // namespace velmora::discburn
