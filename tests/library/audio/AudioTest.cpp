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

TEST(WaveWriterTest, AFinishedFileTakesTheTargetsPlaceAndAnUnfinishedOneLeavesNothing)
{
    ScratchFolder scratch;
    WriteFile(scratch / "half.wav", "earlier");
    {
        WaveWriter writer(scratch / "done.wav");
        const std::string block(300000, 'x');   // more than the writer holds back at once
        EXPECT_TRUE(writer.Append("abcd", 4) && writer.Append(block.data(), block.size()) && writer.Finish());
        WaveWriter unfinished(scratch / "half.wav");
        EXPECT_TRUE(unfinished.Append("abcd", 4));
    }
    const auto done = ReadFile(scratch / "done.wav");
    const auto layout = velmora::wave::ParseWave(done);
    EXPECT_TRUE(layout.IsWave() && velmora::wave::IsCdAudio(layout.format));
    EXPECT_EQ(std::tuple(Little32(done, 4), layout.dataOffset, layout.dataLength), std::tuple(300040u, 44u, 300004u));
    EXPECT_TRUE(done.substr(44) == "abcd" + std::string(300000, 'x'));
    EXPECT_EQ(ReadFile(scratch / "half.wav"), "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 2);

    WaveWriter nowhere(scratch / "no-such-folder" / "x.wav");
    EXPECT_FALSE(nowhere.IsOpen() || nowhere.Append("abcd", 4) || nowhere.Finish());
    EXPECT_NE(nowhere.Failure().find("cannot write into"), std::string::npos) << nowhere.Failure();
}

TEST(CdTrackTest, TrackNumbersAreReadStrictlyFromTheSourceOrFromTheCdaRecords)
{
    for (const auto& [source, drive, track] : std::vector<std::tuple<const char*, const char*, int>>{
             {"E:12", "E:", 12}, {"D:03", "D:", 3}, {"D:99", "D:", 99}, {"D:100", "D:", 0}, {"D:-1", "D:", 0},
             {"D:+3", "D:", 0}, {"D: 3", "D:", 0}, {"D:99999999999999999999", "D:", 0}, {"D", "D", 0}, {"", "", 0}}) {
        Header::MEDIACONVERSIONINFO request;
        std::strcpy(request.szSourceFile, source);
        CCDTrack ripper(request);
        EXPECT_EQ(ripper.Prepare(), 0);
        EXPECT_STREQ(ripper.Drive(), drive) << source;
        EXPECT_EQ(ripper.TrackNumber(), track) << source;
    }

    // Track numbers come from the .cda records.
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
