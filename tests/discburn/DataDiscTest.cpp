#include "BurnTestSupport.h"
#include "ScratchFolder.h"
#include "writers/DiscFormatData.h"
#include "image/ImageBuilder.h"
#include "image/IsoCheck.h"
#include "recorders/RecorderDevice.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace velmora::discburn {
namespace {

using test::ReadIsoImage;
using test::RecordingWindow;
using velmora::test::ReadFile;
using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

void MakeSparseFile(const std::filesystem::path& file, std::uint64_t size)
{
    std::ofstream(file).close();
    std::filesystem::resize_file(file, size);
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

    // What the data-disc job does: open, take the recorder, initialise with the media check, test for a blank disc,
    // build and write. Returns whether the media was blank.
    bool BurnData(const std::string& recorderId, RecordingWindow& window, CDiscFormatData& writer)
    {
        CRecorderDevice device;
        EXPECT_TRUE(device.Open(recorderId));
        EXPECT_TRUE(device.AcquireExclusive(kClientName));
        EXPECT_TRUE(writer.Initialize(&device, kClientName, false)) << writer.errorText;
        if (!writer.IsBlankMedia()) return false;
        auto image = BuildImageFromList(window, BurnList());
        EXPECT_TRUE(image);
        if (!image) return true;
        EXPECT_TRUE(writer.Write(image.get(), &window));
        device.Eject();
        device.ReleaseExclusive();
        return true;
    }

    ScratchFolder scratch;
};

TEST_F(DataDiscTest, ADataBurnToAnImageRecorderHoldsTheFilesAndTheFolderByItsOwnName)
{
    const auto target = scratch / "discs/data.iso";
    RecordingWindow window;
    CDiscFormatData writer;
    ASSERT_TRUE(BurnData("stdio:" + target.string(), window, writer));
    EXPECT_EQ(writer.hr, kOk) << writer.errorText;
    EXPECT_TRUE(writer.errorText.empty());
    EXPECT_TRUE(test::HiddenFiles(scratch / "discs").empty());
    EXPECT_TRUE(IsIso9660Image(target));

    const auto rockRidge = ReadIsoImage(target, false);
    ASSERT_TRUE(rockRidge.read);
    EXPECT_TRUE(rockRidge.hasRockRidge);
    EXPECT_EQ(rockRidge.volumeId, "2009_11_18");
    const std::map<std::string, std::uint64_t> tree{{"Read Me First.txt", 23},
                                                    {"numbers.csv", 6},
                                                    {"Holiday Photos/", 0},
                                                    {"Holiday Photos/beach.jpg", 5000},
                                                    {"Holiday Photos/Day One/", 0},
                                                    {"Holiday Photos/Day One/morning.jpg", 7}};
    EXPECT_EQ(rockRidge.files, tree);
    EXPECT_EQ(rockRidge.contents.at("Holiday Photos/Day One/morning.jpg"), "sunrise");
    EXPECT_EQ(rockRidge.contents.at("Read Me First.txt"), "two files and a folder\n");

    const auto joliet = ReadIsoImage(target, true);
    ASSERT_TRUE(joliet.read);
    EXPECT_TRUE(joliet.hasJoliet);
    EXPECT_EQ(joliet.files, tree);

    const std::vector<std::string> statuses{"Creating File System...", "Adding \"Read Me First.txt\" to file system...",
                                            "Adding \"Holiday Photos\" to file system...",
                                            "Adding \"numbers.csv\" to file system..."};
    EXPECT_EQ(window.statuses, statuses);
    EXPECT_TRUE(window.results.empty());
    EXPECT_EQ(window.progress.front().action, kValidatingMedia);
    EXPECT_EQ(window.progress.back().action, kCompleted);
}

TEST_F(DataDiscTest, ASecondBurnOntoTheSameImageFindsTheMediaNotBlank)
{
    const auto target = scratch / "discs/data.iso";
    RecordingWindow first;
    CDiscFormatData writer;
    ASSERT_TRUE(BurnData("stdio:" + target.string(), first, writer));
    const auto written = ReadFile(target);

    RecordingWindow second;
    CDiscFormatData again;
    EXPECT_FALSE(BurnData("stdio:" + target.string(), second, again));
    EXPECT_EQ(again.errorText, "Media is not Blank.");
    EXPECT_GE(again.hr, 0);
    EXPECT_EQ(ReadFile(target), written);
}

TEST_F(DataDiscTest, MediaChecksOfTheWriter)
{
    CDiscFormatData noRecorder;
    EXPECT_FALSE(noRecorder.Initialize(nullptr, kClientName, false));
    EXPECT_EQ(noRecorder.errorText, "Error - CDiscFormatData::Initialize - pDiscRecorder is NULL");

    CRecorderDevice cue;
    ASSERT_TRUE(cue.Open("cue:" + (scratch / "discs/audio.cue").string()));
    CDiscFormatData audioOnly;
    EXPECT_FALSE(audioOnly.Initialize(&cue, kClientName, false));
    EXPECT_EQ(audioOnly.errorText, "Recorder not supported");

    CRecorderDevice image;
    ASSERT_TRUE(image.Open("stdio:" + (scratch / "discs/new.iso").string()));
    CDiscFormatData badClient;
    EXPECT_FALSE(badClient.Initialize(&image, "a/b", false));
    EXPECT_EQ(badClient.errorText, "IDiscFormat2Data->put_ClientName Failed - Error:0x8ba00008");

    CDiscFormatData blank;
    ASSERT_TRUE(blank.Initialize(&image, kClientName, false));
    EXPECT_TRUE(blank.IsBlankMedia());

    // Anything that is not an ISO image in the file is not blank either.
    WriteFile(scratch / "discs/text.iso", "not an image");
    CRecorderDevice text;
    ASSERT_TRUE(text.Open("stdio:" + (scratch / "discs/text.iso").string()));
    CDiscFormatData written;
    ASSERT_TRUE(written.Initialize(&text, kClientName, false));
    EXPECT_FALSE(written.IsBlankMedia());
}

TEST_F(DataDiscTest, CreateIsoWritesTheImageAndReplacesAnOldFile)
{
    const auto iso = scratch / "discs/made.iso";
    WriteFile(iso, std::string(100000, 'x'));
    CRecorderDevice device;
    ASSERT_TRUE(device.Open("stdio:" + (scratch / "discs/recorder.iso").string()));
    ASSERT_TRUE(device.AcquireExclusive(kClientName));
    CDiscFormatData writer;
    ASSERT_TRUE(writer.Initialize(&device, kClientName, true));
    RecordingWindow window;
    auto image = BuildImageFromList(window, BurnList());
    ASSERT_TRUE(image);
    const auto size = image->Size();
    EXPECT_TRUE(writer.CreateISO(image.get(), &window, iso));
    EXPECT_EQ(writer.hr, kOk);
    EXPECT_EQ(std::filesystem::file_size(iso), size);
    EXPECT_EQ(size % 2048, 0u);
    EXPECT_TRUE(IsIso9660Image(iso));
    EXPECT_EQ(ReadIsoImage(iso, false).files.size(), 6u);
    EXPECT_TRUE(test::HiddenFiles(scratch / "discs").empty());
    EXPECT_FALSE(std::filesystem::exists(scratch / "discs/recorder.iso"));   // no disc is written
}

TEST_F(DataDiscTest, CreateIsoIntoAMissingFolderFailsWithTheDesignedText)
{
    CDiscFormatData writer;
    RecordingWindow window;
    auto image = BuildImageFromList(window, BurnList());
    ASSERT_TRUE(image);
    EXPECT_FALSE(writer.CreateISO(image.get(), &window, scratch / "no/such/folder/x.iso"));
    EXPECT_EQ(writer.errorText, "IDiscFormat2Data->CreateISO Failed - Error:0x8ba00006");
    EXPECT_FALSE(writer.CreateISO(nullptr, &window, scratch / "discs/x.iso"));
}

// Cancels as soon as the writer's temporary file holds data, so the cancel falls inside the write.
std::function<int(const WriteProgress&)> CancelOncePartialDataShows(const std::filesystem::path& folder, bool& sawPartial)
{
    return [folder, &sawPartial](const WriteProgress&) {
        for (const auto& name : test::HiddenFiles(folder))
            if (std::filesystem::file_size(folder / name) > 0) sawPartial = true;
        return sawPartial ? 0 : 1;
    };
}

TEST_F(DataDiscTest, ACancelledWriteLeavesNoPartialImage)
{
    MakeSparseFile(scratch / "source/large.bin", 384ull << 20);
    const auto target = scratch / "discs/cancelled.iso";
    CRecorderDevice device;
    ASSERT_TRUE(device.Open("stdio:" + target.string()));
    CDiscFormatData writer;
    ASSERT_TRUE(writer.Initialize(&device, kClientName, false));
    RecordingWindow window;
    bool sawPartial = false;
    window.reply = CancelOncePartialDataShows(scratch / "discs", sawPartial);
    auto image = BuildImageFromList(window, {scratch / "source/large.bin"});
    ASSERT_TRUE(image);
    EXPECT_TRUE(writer.Write(image.get(), &window));
    EXPECT_TRUE(sawPartial);
    EXPECT_EQ(writer.hr, kCancelled);
    EXPECT_EQ(writer.errorText, "IDiscFormat2Data->Write Failed! Error:0x8ba00005");
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_TRUE(test::HiddenFiles(scratch / "discs").empty());
}

TEST_F(DataDiscTest, ACancelledIsoFileLeavesNoPartialFileAndKeepsTheOldOne)
{
    test::MakeSpottedFile(scratch / "source/large.bin", 384ull << 20);
    const auto iso = scratch / "discs/old.iso";
    WriteFile(iso, "the image made yesterday");
    CDiscFormatData writer;
    RecordingWindow window;
    bool sawPartial = false;
    window.reply = CancelOncePartialDataShows(scratch / "discs", sawPartial);
    auto image = BuildImageFromList(window, {scratch / "source/large.bin"});
    ASSERT_TRUE(image);
    EXPECT_FALSE(writer.CreateISO(image.get(), &window, iso));
    EXPECT_TRUE(sawPartial);
    EXPECT_EQ(writer.hr, kCancelled);
    EXPECT_EQ(ReadFile(iso), "the image made yesterday");
    EXPECT_TRUE(test::HiddenFiles(scratch / "discs").empty());
}

TEST_F(DataDiscTest, ACancelRequestDuringTheBuildEndsItWithoutAnImage)
{
    RecordingWindow window;
    window.cancelRequest = [] { return true; };
    EXPECT_FALSE(BuildImageFromList(window, BurnList()));
    ASSERT_EQ(window.results.size(), 1u);
    EXPECT_EQ(window.results[0], (std::pair<HResult, std::string>{0, "User Canceled!"}));
    EXPECT_EQ(window.statuses.size(), 2u);   // stopped after the first entry
}

TEST_F(DataDiscTest, TwoEntriesOfTheSameNameFailTheBuild)
{
    std::filesystem::create_directory(scratch / "other");
    WriteFile(scratch / "other/numbers.csv", "4,5\n");
    RecordingWindow window;
    EXPECT_FALSE(BuildImageFromList(window, {scratch / "source/numbers.csv", scratch / "other/numbers.csv"}));
    ASSERT_EQ(window.results.size(), 1u);
    EXPECT_LT(window.results[0].first, 0);
    EXPECT_EQ(window.results[0].second, "Failed IFsiDirectoryItem->AddFile(numbers.csv)!");
}

TEST_F(DataDiscTest, AnUnreadableFileIsLeftOutSilently)
{
    RecordingWindow window;
    auto image = BuildImageFromList(window, {scratch / "source/gone.txt", scratch / "source/numbers.csv"});
    ASSERT_TRUE(image);
    EXPECT_TRUE(window.results.empty());
    CDiscFormatData writer;
    ASSERT_TRUE(writer.CreateISO(image.get(), &window, scratch / "discs/one.iso"));
    EXPECT_EQ(ReadIsoImage(scratch / "discs/one.iso", false).files.size(), 1u);
}

TEST(IsoCheckTest, OnlyTheSignatureAtItsPlaceMakesAnImage)
{
    ScratchFolder scratch;
    std::string image(40000, '\0');
    image.replace(32769, 5, "CD001");
    WriteFile(scratch / "a.iso", image);
    EXPECT_TRUE(IsIso9660Image(scratch / "a.iso"));
    image.replace(32769, 5, "CD002");
    WriteFile(scratch / "b.ISO", image);
    EXPECT_FALSE(IsIso9660Image(scratch / "b.ISO"));
    WriteFile(scratch / "short.iso", std::string(32772, '\0') + "CD001");
    EXPECT_FALSE(IsIso9660Image(scratch / "short.iso"));
    EXPECT_FALSE(IsIso9660Image(scratch / "missing.iso"));
}

}  // namespace
}  // namespace velmora::discburn
