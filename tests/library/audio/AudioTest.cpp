#include "CdImage.h"
#include "ScratchFolder.h"
#include "audio/CdTrack.h"
#include "audio/CdTrackTable.h"
#include "audio/WaveWriter.h"
#include "drives/DriveTable.h"
#include "wave/WaveHeader.h"

#include <gtest/gtest.h>

#include <cstring>

namespace MediaLibrary::Audio {
namespace {

using namespace velmora::test;

TEST(WaveWriterTest, AFinishedFileIsACdWaveOfItsDataAndAnUnfinishedOneIsGone)
{
    const auto header = MakeWaveHeader(31752000);   // three minutes
    const std::string bytes(header.begin(), header.end());
    const auto layout = velmora::wave::ParseWave(bytes);
    EXPECT_TRUE(layout.IsWave() && velmora::wave::IsCdAudio(layout.format));
    EXPECT_EQ(std::tuple(Little32(bytes, 4), layout.dataOffset, Little32(bytes, 40)),
              std::tuple(31752036u, 44u, 31752000u));

    ScratchFolder scratch;
    {
        WaveWriter writer;
        ASSERT_TRUE(writer.Open(scratch / "done.wav"));
        EXPECT_TRUE(writer.Append("abcd", 4) && writer.Append("efgh", 4) && writer.Finish());
        WaveWriter unfinished;
        ASSERT_TRUE(unfinished.Open(scratch / "half.wav"));
        EXPECT_TRUE(unfinished.Append("abcd", 4));
    }
    const auto done = ReadFile(scratch / "done.wav");
    EXPECT_EQ(done.substr(0, 44), std::string(reinterpret_cast<const char*>(MakeWaveHeader(8).data()), 44));
    EXPECT_EQ(done.substr(44), "abcdefgh");
    EXPECT_FALSE(std::filesystem::exists(scratch / "half.wav"));

    WaveWriter nowhere;
    EXPECT_FALSE(nowhere.Open(scratch / "no-such-folder" / "x.wav"));
    EXPECT_FALSE(nowhere.Append("abcd", 4) || nowhere.Finish());
}

TEST(CdTrackTest, PrepareReadsTheTrackNumberStrictly)
{
    for (const auto& [source, drive, track] : std::vector<std::tuple<const char*, const char*, int>>{
             {"D:3", "D:", 3}, {"E:12", "E:", 12}, {"D:03", "D:", 3}, {"D:99", "D:", 99}, {"D:100", "D:", 0},
             {"D:3x", "D:", 0}, {"D:", "D:", 0}, {"D:-1", "D:", 0}, {"D:+3", "D:", 0}, {"D: 3", "D:", 0},
             {"D:99999999999999999999", "D:", 0}, {"D", "D", 0}, {"", "", 0}}) {
        Header::MEDIACONVERSIONINFO request;
        std::strcpy(request.szSourceFile, source);
        CCDTrack ripper(request);
        EXPECT_EQ(ripper.Prepare(), 0);
        EXPECT_STREQ(ripper.Drive(), drive) << source;
        EXPECT_EQ(ripper.TrackNumber(), track) << source;
    }
}

TEST(CdaRecordTest, TrackNumbersComeFromTheCdaRecords)
{
    ScratchFolder scratch;
    const auto disc = WriteCdImage(scratch.path(), "tones", {{4, 440}, {6, 660}, {3, 880}});
    const ScopedEnvironment drives{velmora::platform::DriveTable::kVariable, "X=" + disc.cue.string()};
    std::string record(44, '\0');
    record[22] = 7;
    WriteFile(scratch / "copied.cda", record);
    WriteFile(scratch / "short.cda", std::string(22, '\x05'));
    for (const auto& [path, track] : std::vector<std::pair<std::string, int>>{
             {"X:\\Track03.cda", 3}, {"X:\\Track09.cda", -1}, {"Q:\\Track01.cda", -1}, {scratch / "copied.cda", 7},
             {scratch / "short.cda", -1}, {scratch / "absent.cda", -1}})
        EXPECT_EQ(ReadCdaTrackNumber(path.c_str()), track) << path;
    EXPECT_EQ(ReadCdaTrackNumber(nullptr), -1);
}

}  // namespace
}  // namespace MediaLibrary::Audio
