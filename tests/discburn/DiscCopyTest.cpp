// Copies of data discs: the image of a disc's data track, from each kind of drive.

#include "BurnTestSupport.h"
#include "ScratchFolder.h"
#include "drives/DriveTable.h"
#include "jobs/DataDiscCopy.h"
#include "jobs/DiscCopy.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora::discburn {
namespace {

using namespace test;
using namespace velmora::test;

constexpr std::uint32_t kSectors = 40;
constexpr std::uint32_t kVolumeSectors = 36;

// Sectors of noise with a primary volume descriptor that claims fewer sectors than there are.
std::string DataTrack()
{
    std::mt19937 noise(7);
    std::string data(kSectors * 2048, '\0');
    for (char& byte : data) byte = static_cast<char>(noise());
    data.replace(16 * 2048, 6, std::string("\1CD001", 6));
    for (int at = 0; at < 4; ++at) data[16 * 2048 + 80 + at] = static_cast<char>(kVolumeSectors >> (8 * at) & 0xFF);
    return data;
}

class DiscCopyTest : public ::testing::Test {
protected:
    platform::Drive DriveOf(const std::filesystem::path& source)
    {
        return *platform::DriveTable::FromParts({}, "E=" + source.string()).Find('E');
    }
    HResult Copy(const std::filesystem::path& source)
    {
        window = RecordingWindow{};
        return CopyDataDisc(DriveOf(source), image, window);
    }

    ScratchFolder scratch;
    std::filesystem::path image = scratch / "copy.iso";
    RecordingWindow window;
};

TEST_F(DiscCopyTest, TheImageIsTheDataTrackByteForByteFromAnIsoOrABinCueImage)
{
    const std::string data = DataTrack();
    WriteFile(scratch / "disc.iso", data);
    const auto cue = WriteDataCdImage(scratch.path(), "disc", data);
    for (const auto& source : {scratch / "disc.iso", cue}) {
        EXPECT_EQ(CopySourceOf(DriveOf(source)), CopySource::DataDisc) << source;
        ASSERT_EQ(Copy(source), kOk) << source;
        EXPECT_TRUE(ReadFile(image) == data) << source;
        ASSERT_FALSE(window.progress.empty());
        EXPECT_EQ(window.progress.front().action, kReadingDisc);
        EXPECT_EQ(window.progress.front().bytesTotal, data.size());
        std::filesystem::remove(image);
    }
}

TEST_F(DiscCopyTest, NoDataTrackOrACancelLeavesNoImageAndAnEarlierFileAsItWas)
{
    const auto audio = WriteCdImage(scratch.path(), "audio", {{4, 440}}).cue;
    WriteFile(scratch / "empty.iso", "");
    std::filesystem::create_directory(scratch / "nothing");
    EXPECT_EQ(CopySourceOf(DriveOf(audio)), CopySource::AudioCd);
    EXPECT_EQ(CopySourceOf(DriveOf(scratch / "nothing")), CopySource::NoMedia);
    EXPECT_EQ(CopySourceOf(DriveOf(scratch / "empty.iso")), CopySource::NoMedia);

    WriteFile(image, "an earlier copy");
    const std::pair<std::filesystem::path, std::string> refused[] = {
        {audio, "the disc has no data track"},
        {scratch / "empty.iso", "is not a disc image"},
        {scratch / "nothing", "holds nothing"},
    };
    for (const auto& [source, reason] : refused) {
        EXPECT_LT(Copy(source), 0) << source;
        ASSERT_EQ(window.results.size(), 1u) << source;
        EXPECT_TRUE(window.results[0].second.starts_with("The disc was not copied: ")) << window.results[0].second;
        EXPECT_NE(window.results[0].second.find(reason), std::string::npos) << window.results[0].second;
    }

    WriteFile(scratch / "disc.iso", DataTrack());
    window.reply = [](const WriteProgress&) { return 0; };
    EXPECT_EQ(CopyDataDisc(DriveOf(scratch / "disc.iso"), image, window), kCancelled);
    EXPECT_EQ(window.results.back().second, "User Canceled!");
    EXPECT_EQ(ReadFile(image), "an earlier copy");
    EXPECT_TRUE(HiddenFiles(scratch.path()).empty());
}

}  // namespace
}  // namespace velmora::discburn
