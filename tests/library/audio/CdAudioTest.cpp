#include "audio/CdDrive.h"
#include "CdImage.h"
#include "audio/CdTrack.h"
#include "audio/CdTrackTable.h"
#include "Lumetra.h"
#include "ScratchFolder.h"
#include "audio/WaveWriter.h"
#include "drives/DriveTable.h"

#include <gtest/gtest.h>

#include <cstring>

namespace MediaLibrary::Audio {
namespace {

using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;
using velmora::test::Little32;

TEST(WaveWriterTest, TheHeaderFollowsTheDataLength)
{
    const auto header = MakeWaveHeader(31752000);   // three minutes
    const std::string bytes(header.begin(), header.end());
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(Little32(bytes, 4), 31752036u);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Little32(bytes, 16), 16u);
    EXPECT_EQ(Little32(bytes, 20), 1u | 2u << 16);   // PCM, two channels
    EXPECT_EQ(Little32(bytes, 24), 44100u);
    EXPECT_EQ(Little32(bytes, 28), 176400u);
    EXPECT_EQ(Little32(bytes, 32), 4u | 16u << 16);  // block align, bits per sample
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(Little32(bytes, 40), 31752000u);
}

TEST(WaveWriterTest, AFinishedFileHoldsHeaderAndDataAndAnUnfinishedOneIsGone)
{
    ScratchFolder scratch;
    {
        WaveWriter writer;
        ASSERT_TRUE(writer.Open(scratch / "done.wav"));
        EXPECT_TRUE(writer.Append("abcd", 4));
        EXPECT_TRUE(writer.Append("efgh", 4));
        EXPECT_TRUE(writer.Finish());
    }
    const auto done = velmora::test::ReadFile(scratch / "done.wav");
    ASSERT_EQ(done.size(), 52u);
    EXPECT_EQ(Little32(done, 40), 8u);
    EXPECT_EQ(done.substr(44), "abcdefgh");

    {
        WaveWriter writer;
        ASSERT_TRUE(writer.Open(scratch / "half.wav"));
        EXPECT_TRUE(writer.Append("abcd", 4));
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "half.wav"));

    WaveWriter nowhere;
    EXPECT_FALSE(nowhere.Open(scratch / "no-such-folder" / "x.wav"));
    EXPECT_FALSE(nowhere.Append("abcd", 4));
    EXPECT_FALSE(nowhere.Finish());
}

struct Source {
    const char* text;
    const char* drive;
    int track;
};

TEST(CdTrackTest, PrepareReadsTheTrackNumberStrictly)
{
    for (const auto& source : {Source{"D:3", "D:", 3}, Source{"E:12", "E:", 12}, Source{"D:03", "D:", 3},
                               Source{"D:99", "D:", 99}, Source{"D:100", "D:", 0}, Source{"D:3x", "D:", 0},
                               Source{"D:", "D:", 0}, Source{"D:-1", "D:", 0}, Source{"D:+3", "D:", 0},
                               Source{"D: 3", "D:", 0}, Source{"D:99999999999999999999", "D:", 0},
                               Source{"D", "D", 0}, Source{"", "", 0}}) {
        Header::MEDIACONVERSIONINFO request;
        std::strcpy(request.szSourceFile, source.text);
        CCDTrack ripper(request);
        EXPECT_EQ(ripper.Prepare(), 0);
        EXPECT_STREQ(ripper.Drive(), source.drive) << source.text;
        EXPECT_EQ(ripper.TrackNumber(), source.track) << source.text;
    }
}

class CdDiscTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    velmora::test::CdImage disc = velmora::test::WriteCdImage(scratch.path(), "tones", {{4, 440}, {6, 660}, {3, 880}});
    ScopedEnvironment drives{velmora::platform::DriveTable::kVariable, "X=" + disc.cue.string()};
};

TEST_F(CdDiscTest, TheTrackTablePairsStartAndLengthFromTheToc)
{
    CCDTrackTable table;
    ASSERT_TRUE(table.ReadTrackTable('X'));
    ASSERT_EQ(table.Extents().size(), 3u);
    const std::uint32_t expected[][2] = {{0, 300}, {300, 450}, {750, 225}};
    for (std::size_t at = 0; at < 3; ++at) {
        EXPECT_EQ(table.Extents()[at].start, expected[at][0]) << at;
        EXPECT_EQ(table.Extents()[at].length, expected[at][1]) << at;
    }
    EXPECT_TRUE(table.ReadTrackTable('x'));   // a second read starts afresh
    EXPECT_EQ(table.Extents().size(), 3u);
    EXPECT_FALSE(table.ReadTrackTable('Q'));
    EXPECT_TRUE(table.Extents().empty());
}

TEST_F(CdDiscTest, TrackNumbersComeFromTheCdaRecords)
{
    EXPECT_EQ(ReadCdaTrackNumber("X:\\Track03.cda"), 3);
    EXPECT_EQ(ReadCdaTrackNumber("X:\\Track09.cda"), -1);
    EXPECT_EQ(ReadCdaTrackNumber("Q:\\Track01.cda"), -1);

    std::string record(44, '\0');
    record[22] = 7;
    velmora::test::WriteFile(scratch / "copied.cda", record);
    EXPECT_EQ(ReadCdaTrackNumber((scratch / "copied.cda").c_str()), 7);
    velmora::test::WriteFile(scratch / "short.cda", std::string(22, '\x05'));
    EXPECT_EQ(ReadCdaTrackNumber((scratch / "short.cda").c_str()), -1);
    EXPECT_EQ(ReadCdaTrackNumber((scratch / "absent.cda").c_str()), -1);
    EXPECT_EQ(ReadCdaTrackNumber(nullptr), -1);
}

std::vector<std::pair<std::string, std::string>> shownMessages;
void RememberMessage(const char* text, const char* title)
{
    shownMessages.emplace_back(text, title);
}

TEST_F(CdDiscTest, TheCddbTrackHoldsTheDiscUntilReleased)
{
    CDDB::CCDTrack drive('X');
    EXPECT_FALSE(drive.TocValid());
    ASSERT_TRUE(drive.OpenDrive());
    EXPECT_TRUE(drive.TocValid());
    EXPECT_EQ(drive.Toc().LastTrack, 3);
    EXPECT_EQ(velmora::platform::FramesOf(drive.Toc().TrackData[3]), 15 * 75);
    EXPECT_TRUE(drive.CheckMediaReady());
    EXPECT_TRUE(drive.OpenAndVerify());

    shownMessages.clear();
    SetMessageBoxHandler(RememberMessage);
    CDDB::CCDTrack empty('Q');
    EXPECT_FALSE(empty.OpenAndVerify());
    EXPECT_FALSE(empty.TocValid());
    SetMessageBoxHandler(nullptr);
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_EQ(shownMessages[0].first, "Unable to access CD Drive: Q");
    EXPECT_EQ(shownMessages[0].second, "Error Message");
}

}  // namespace
}  // namespace MediaLibrary::Audio
