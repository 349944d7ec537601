#include "BurnTestSupport.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "writers/DiscFormatAudio.h"
#include "drives/CdDevice.h"
#include "drives/DriveTable.h"

#include <cdio/cdio.h>
#include <gtest/gtest.h>

namespace velmora::discburn {
namespace {

using test::Padded;
using test::RecordingWindow;
using test::RipImage;
using test::TonePcm;
using test::WaveFile;
using velmora::test::ReadFile;
using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

class AudioDiscTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(scratch / "discs");
        shortTone = TonePcm(44100 * 3 / 2, 440);
        longTone = TonePcm(233730, 660);
        // Encoders put other chunks before the samples; they must not reach the disc.
        WriteFile(scratch / "short.wav", WaveFile(shortTone, 2, 44100, std::string("LIST\x06\0\0\0INFOab", 14)));
        WriteFile(scratch / "long.wav", WaveFile(longTone, 2, 44100));
        WriteFile(scratch / "mono.wav", WaveFile(TonePcm(44100, 880).substr(0, 44100 * 2), 1, 44100));
    }

    std::vector<AudioTrack> Tracks(const std::vector<std::string>& names) const
    {
        std::vector<AudioTrack> tracks;
        for (const auto& name : names)
            if (auto track = TrackOfCdWave(scratch / name)) tracks.push_back(*track);
        return tracks;
    }

    ScratchFolder scratch;
    std::string shortTone;
    std::string longTone;
};

TEST_F(AudioDiscTest, TracksWrittenToACueRecorderRipBackAsTheyWere)
{
    ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=330:duration=2", "-ar", "44100", "-ac", "2",
                                          (scratch / "encoded.wav").string()}));
    const auto tracks = Tracks({"short.wav", "mono.wav", "long.wav", "encoded.wav"});
    ASSERT_EQ(tracks.size(), 3u);   // the mono file is not CD audio
    const std::string encoded =
        ReadFile(scratch / "encoded.wav").substr(tracks[2].offset, static_cast<std::size_t>(tracks[2].length));
    EXPECT_EQ(encoded.size(), 2u * 44100 * 4);

    const auto cue = scratch / "discs/music.cue";
    CRecorderDevice device;
    ASSERT_TRUE(device.Open("cue:" + cue.string()));
    ASSERT_TRUE(device.AcquireExclusive(kClientName));
    CDiscFormatAudio writer;
    ASSERT_TRUE(writer.Initialize(&device, kClientName)) << writer.errorText;
    RecordingWindow window;
    ASSERT_TRUE(writer.BurnTracks(&window, tracks));
    EXPECT_EQ(writer.hr, kOk) << writer.errorText;
    EXPECT_TRUE(writer.errorText.empty());

    EXPECT_EQ(ReadFile(cue), "FILE \"music.bin\" BINARY\n"
                             "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                             "  TRACK 02 AUDIO\n    INDEX 01 00:04:00\n"
                             "  TRACK 03 AUDIO\n    INDEX 01 00:09:23\n");
    const auto ripped = RipImage(cue);
    ASSERT_EQ(ripped.size(), 3u);
    EXPECT_EQ(ripped[0].size(), 300 * kCdSectorBytes);   // 1.5 seconds take the 4 a track needs at least
    EXPECT_TRUE(ripped[0] == Padded(shortTone));
    EXPECT_TRUE(ripped[1] == Padded(longTone));
    EXPECT_TRUE(ripped[2] == Padded(encoded));
    EXPECT_EQ(platform::DriveTable::FromParts({}, "X=" + cue.string()).FindFiles("X:\\*.cda").size(), 3u);

    EXPECT_EQ(window.progress.front().action, kAudioPreparing);
    EXPECT_EQ(window.progress.back().action, kAudioFinishing);
    bool sawThirdTrack = false;
    for (const auto& report : window.progress)
        sawThirdTrack |= report.action == kAudioWriting && report.track == 3 && report.trackCount == 3;
    EXPECT_TRUE(sawThirdTrack);
    EXPECT_TRUE(test::HiddenFiles(scratch / "discs").empty());
}

TEST_F(AudioDiscTest, ACancelLeavesNoImageAndKeepsTheOldOne)
{
    const auto cue = scratch / "discs/music.cue";
    WriteFile(cue, "old sheet");
    CRecorderDevice device;
    ASSERT_TRUE(device.Open("cue:" + cue.string()));
    CDiscFormatAudio writer;
    ASSERT_TRUE(writer.Initialize(&device, kClientName));
    RecordingWindow window;
    window.reply = [](const WriteProgress& report) { return report.track == 2 ? 0 : 1; };
    ASSERT_TRUE(writer.BurnTracks(&window, Tracks({"short.wav", "long.wav"})));
    EXPECT_EQ(writer.hr, kCancelled);
    EXPECT_EQ(writer.errorText, "IDiscFormat2Audio->AddAudioTrack Failed! Error:0x8ba00005");
    EXPECT_EQ(ReadFile(cue), "old sheet");
    EXPECT_FALSE(std::filesystem::exists(scratch / "discs/music.bin"));
    EXPECT_TRUE(test::HiddenFiles(scratch / "discs").empty());
}

TEST_F(AudioDiscTest, ATrackThatCannotBeReadEndsTheDiscWithoutAnImage)
{
    auto tracks = Tracks({"short.wav", "long.wav", "short.wav"});
    tracks[1].length += 1 << 20;   // the file ends before the track does
    const auto cue = scratch / "discs/music.cue";
    CRecorderDevice device;
    ASSERT_TRUE(device.Open("cue:" + cue.string()));
    CDiscFormatAudio writer;
    ASSERT_TRUE(writer.Initialize(&device, kClientName));
    RecordingWindow window;
    ASSERT_TRUE(writer.BurnTracks(&window, tracks));
    EXPECT_EQ(writer.errorText, "IDiscFormat2Audio->AddAudioTrack Failed! Error:0x8ba00006");
    for (const auto& report : window.progress) EXPECT_NE(report.track, 3);
    EXPECT_FALSE(std::filesystem::exists(cue));
    EXPECT_TRUE(test::HiddenFiles(scratch / "discs").empty());
}

TEST_F(AudioDiscTest, RecordersThatCannotTakeAudio)
{
    CDiscFormatAudio noRecorder;
    EXPECT_FALSE(noRecorder.Initialize(nullptr, kClientName));
    EXPECT_EQ(noRecorder.errorText, "Error - CDiscFormatAudio::Initialize - pDiscRecorder is NULL");

    // libburn writes audio to CDs only, never into a file.
    CRecorderDevice image;
    ASSERT_TRUE(image.Open("stdio:" + (scratch / "discs/data.iso").string()));
    CDiscFormatAudio toImage;
    EXPECT_FALSE(toImage.Initialize(&image, kClientName));
    EXPECT_EQ(toImage.errorText, "Recorder not supported");
    EXPECT_FALSE(toImage.BurnTracks(nullptr, {}));

    CRecorderDevice gone;
    EXPECT_FALSE(gone.Open("cue:" + (scratch / "discs/later/music.cue").string()));
}

TEST_F(AudioDiscTest, OnlyCdAudioWavesGiveTracks)
{
    const auto track = TrackOfCdWave(scratch / "short.wav");
    ASSERT_TRUE(track);
    EXPECT_EQ(track->offset, 44u + 14u);
    EXPECT_EQ(track->length, shortTone.size());
    EXPECT_FALSE(TrackOfCdWave(scratch / "mono.wav"));
    WriteFile(scratch / "slow.wav", WaveFile(TonePcm(22050, 440), 2, 22050));
    EXPECT_FALSE(TrackOfCdWave(scratch / "slow.wav"));
    WriteFile(scratch / "text.wav", "RIFF....WAVEjunk");
    EXPECT_FALSE(TrackOfCdWave(scratch / "text.wav"));
    EXPECT_FALSE(TrackOfCdWave(scratch / "missing.wav"));
}

TEST(AudioTrackTest, TracksArePaddedToWholeSectorsAndFourSeconds)
{
    EXPECT_EQ(PaddedTrackBytes(0), 300 * kCdSectorBytes);
    EXPECT_EQ(PaddedTrackBytes(300 * kCdSectorBytes), 300 * kCdSectorBytes);
    EXPECT_EQ(PaddedTrackBytes(300 * kCdSectorBytes + 1), 301 * kCdSectorBytes);
}

}  // namespace
}  // namespace velmora::discburn
