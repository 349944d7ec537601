// Copies of discs: the image of a data disc's track, from each kind of drive, and the rip of an
// audio CD's tracks through the library's functions, played here by the test.

#include "BurnTestSupport.h"
#include "ScratchFolder.h"
#include "drives/DriveTable.h"
#include "jobs/AudioDiscCopy.h"
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

// The library's disc rip as a drive that cannot read the second track exactly.
namespace library {

std::filesystem::path folder;
std::vector<int> asked;
std::string failure;

LumetraDiscRip* Begin(char, const char* into)
{
    folder = into;
    return reinterpret_cast<LumetraDiscRip*>(&folder);
}
int RipTrack(LumetraDiscRip*, int track, MediaLibrary::Header::RIP_TRACK_REPORT* report)
{
    asked.push_back(track);
    *report = {};
    if (track == 2) return failure = "track X:2 could not be read exactly: sector 320 failed", 6022;
    const auto wave = folder / "Track01.wav";
    WriteFile(wave, WaveFile(TonePcm(4 * 44100, 440), 2, 44100));
    std::snprintf(report->szOutputFile, sizeof report->szOutputFile, "%s", wave.c_str());
    return failure.clear(), 0;
}
int End(LumetraDiscRip*, char*, unsigned) { return 0; }
const char* LastFailure() { return failure.c_str(); }
double EncodedSeconds() { return 0; }
void Cancel() {}

}  // namespace library

TEST_F(DiscCopyTest, AnAudioCdWithATrackThatCannotBeReadExactlyGivesNoCopyAndSaysWhichAndWhy)
{
    const auto cue = WriteCdImage(scratch.path(), "album", {{4, 440}, {4, 660}, {4, 880}}).cue;
    const DiscRipFunctions rip{library::Begin,        library::RipTrack, library::End,
                               library::LastFailure, library::EncodedSeconds, library::Cancel};
    const auto disc = RipAudioDisc(DriveOf(cue), scratch.path(), rip, window);
    EXPECT_FALSE(disc.has_value());
    EXPECT_EQ(library::asked, (std::vector<int>{1, 2}));   // nothing after the failure
    ASSERT_EQ(window.results.size(), 1u);
    EXPECT_EQ(window.results[0].second,
              "The audio CD was not copied: track 2: track X:2 could not be read exactly: sector 320 failed");
    ASSERT_FALSE(window.progress.empty());
    EXPECT_EQ(window.progress.front().action, kAudioReading);
    EXPECT_EQ(window.progress.front().trackCount, 3);
}

}  // namespace
}  // namespace velmora::discburn
