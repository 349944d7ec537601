#include "BurnTestSupport.h"
#include "ScratchFolder.h"
#include "writers/DiscFormatAudio.h"

#include <gtest/gtest.h>

namespace velmora::discburn {
namespace {

using namespace test;
using namespace velmora::test;

class AudioDiscTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(scratch / "discs");
        // Encoders put other chunks before the samples; they must not reach the disc.
        WriteFile(scratch / "short.wav", WaveFile(shortTone, 2, 44100, std::string("LIST\x06\0\0\0INFOab", 14)));
        WriteFile(scratch / "long.wav", WaveFile(longTone, 2, 44100));
        WriteFile(scratch / "mono.wav", WaveFile(TonePcm(44100, 880).substr(0, 44100 * 2), 1, 44100));
        WriteFile(scratch / "slow.wav", WaveFile(TonePcm(22050, 440), 2, 22050));
    }

    std::vector<AudioTrack> Tracks(const std::vector<std::string>& names) const
    {
        std::vector<AudioTrack> tracks;
        for (const auto& name : names)
            if (auto track = TrackOfCdWave(scratch / name)) tracks.push_back(*track);
        return tracks;
    }

    // Burns the tracks to a BIN/CUE recorder; the writer's result code (its text in errorText).
    HResult Burn(const std::vector<AudioTrack>& tracks, RecordingWindow& window)
    {
        CRecorderDevice device;
        EXPECT_TRUE(device.Open("cue:" + cue.string()) && device.AcquireExclusive(kClientName));
        CDiscFormatAudio writer;
        EXPECT_TRUE(writer.Initialize(&device, kClientName)) << writer.errorText;
        EXPECT_TRUE(writer.BurnTracks(&window, tracks));
        errorText = writer.errorText;
        return writer.hr;
    }

    ScratchFolder scratch;
    std::filesystem::path cue = scratch / "discs/music.cue";
    std::string shortTone = TonePcm(44100 * 3 / 2, 440), longTone = TonePcm(233730, 660);
    std::string errorText;
};

TEST_F(AudioDiscTest, TracksOfCdWavesWrittenToACueRecorderRipBackAsTheyWere)
{
    const auto tracks = Tracks({"short.wav", "mono.wav", "slow.wav", "long.wav", "missing.wav", "short.wav"});
    ASSERT_EQ(tracks.size(), 3u);   // only CD audio gives tracks
    EXPECT_EQ(tracks[0].offset, 44u + 14);

    RecordingWindow window;
    EXPECT_EQ(Burn(tracks, window), kOk) << errorText;
    EXPECT_TRUE(errorText.empty());
    const auto ripped = RipImage(cue);
    ASSERT_EQ(ripped.size(), 3u);
    EXPECT_EQ(ripped[0].size(), 300 * kCdSectorBytes);   // 1.5 seconds take the 4 a track needs at least
    EXPECT_TRUE(ripped[0] == Padded(shortTone) && ripped[1] == Padded(longTone) && ripped[2] == ripped[0]);

    EXPECT_EQ(std::pair(window.progress.front().action, window.progress.back().action),
              std::pair(+kAudioPreparing, +kAudioFinishing));
    EXPECT_TRUE(std::any_of(window.progress.begin(), window.progress.end(), [](const WriteProgress& report) {
        return report.action == kAudioWriting && report.track == 3 && report.trackCount == 3;
    }));
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());
}

TEST_F(AudioDiscTest, ACancelOrAnUnreadableTrackLeavesNoImageAndKeepsTheOldOne)
{
    WriteFile(cue, "old sheet");
    RecordingWindow cancelling;
    cancelling.reply = [](const WriteProgress& report) { return report.track == 2 ? 0 : 1; };
    EXPECT_EQ(Burn(Tracks({"short.wav", "long.wav"}), cancelling), kCancelled);
    EXPECT_EQ(errorText, "IDiscFormat2Audio->AddAudioTrack Failed! Error:0x8ba00005");
    EXPECT_EQ(ReadFile(cue), "old sheet");

    auto tracks = Tracks({"short.wav", "long.wav", "short.wav"});
    tracks[1].length += 1 << 20;   // the file ends before the track does
    RecordingWindow window;
    Burn(tracks, window);
    EXPECT_EQ(errorText, "IDiscFormat2Audio->AddAudioTrack Failed! Error:0x8ba00006");
    EXPECT_TRUE(std::none_of(window.progress.begin(), window.progress.end(),
                             [](const WriteProgress& report) { return report.track == 3; }));
    EXPECT_EQ(ReadFile(cue), "old sheet");
    EXPECT_FALSE(std::filesystem::exists(scratch / "discs/music.bin"));
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());
}

TEST_F(AudioDiscTest, RecordersThatCannotTakeAudio)
{
    CDiscFormatAudio noRecorder, toImage;
    EXPECT_FALSE(noRecorder.Initialize(nullptr, kClientName));
    // libburn writes audio to CDs only, never into a file.
    CRecorderDevice image, gone;
    ASSERT_TRUE(image.Open("stdio:" + (scratch / "discs/data.iso").string()));
    EXPECT_FALSE(toImage.Initialize(&image, kClientName));
    EXPECT_EQ(toImage.errorText, "Recorder not supported");
    EXPECT_FALSE(toImage.BurnTracks(nullptr, {}));
    EXPECT_FALSE(gone.Open("cue:" + (scratch / "discs/later/music.cue").string()));
}

TEST(AudioTrackTest, ATrackTakesWholeFramesOfTheSamples)
{
    ScratchFolder scratch;
    WriteFile(scratch / "odd.wav", WaveFile(std::string(4003, '\1'), 2, 44100));
    EXPECT_EQ(TrackOfCdWave(scratch / "odd.wav")->length, 4000u);
}

}  // namespace
}  // namespace velmora::discburn
