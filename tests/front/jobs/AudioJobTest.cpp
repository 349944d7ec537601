#include "CdImage.h"
#include "FrontTesting.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "jobs/AudioJob.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora::front {
namespace {

namespace fs = std::filesystem;
using namespace velmora::test;

// The three tracks of a disc in drive X, and a WAV file.
class AudioJobTest : public ::testing::Test {
protected:
    AudioJobTest()
    {
        BindLibrary();
        host.folder = output.path().string();
    }

    static ConvertRow Track(int number, bool checked)
    {
        const std::string name = "X:\\Track0" + std::to_string(number) + ".cda";
        return {.sourcePath = name, .kind = SourceKind::CdTrack, .trackNumber = number, .checked = checked};
    }

    void Run(MediaLibrary::Header::OutputFormat format, std::vector<ConvertRow> rows)
    {
        host.collect = [format](FakeHost::Request& request, const FakeHost::Request*) {
            request.nOutputFormat = format;
        };
        RunAudioJob(host, {.mode = kModeAudioConverter, .rows = std::move(rows), .cdDrive = "X:"});
    }

    ScratchFolder scratch;
    ScratchFolder output;
    CdImage disc = WriteCdImage(scratch.path(), "disc", {{2, 440}, {1, 660}, {1, 880}});
    ScopedEnvironment drives{"VELMORA_DRIVES", "X=" + disc.cue.string()};
    FakeHost host;
};

TEST_F(AudioJobTest, CheckedTracksAreRippedToWavAndUnchecked)
{
    Run(MediaLibrary::Header::kFormatWav, {Track(1, true), Track(2, false), Track(3, true)});
    for (const int track : {1, 3}) {
        const fs::path file = output / ("Track0" + std::to_string(track) + ".wav");
        const std::string wav = ReadFile(file);
        ASSERT_GT(wav.size(), 44u) << file;
        EXPECT_TRUE(wav.substr(44) == disc.tracks[static_cast<std::size_t>(track - 1)]) << "the samples differ: " << file;
    }
    EXPECT_FALSE(fs::exists(output / "Track02.wav"));
    EXPECT_EQ(host.unchecked, (std::vector<int>{0, 2}));
    EXPECT_EQ(host.questions, 1);
    EXPECT_EQ(host.steps, 3);
    EXPECT_EQ(host.LastStatus(), "Converting Track - 3....");
    EXPECT_EQ(host.controls, (std::vector<bool>{true, false}));
    EXPECT_FALSE(host.state.Busy());
}

TEST_F(AudioJobTest, ATrackAndAnAudioFileAreConvertedToMp3)
{
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t", "1",
                           (scratch / "tone.wav").string()}));
    Run(MediaLibrary::Header::kFormatMp3,
        {Track(1, false), Track(2, true), {.sourcePath = (scratch / "tone.wav").string(), .checked = true}});
    EXPECT_NE(DescribeWithFfmpeg(output / "Track02.mp3").find("Audio: mp3"), std::string::npos);
    EXPECT_NE(DescribeWithFfmpeg(output / "tone.mp3").find("Audio: mp3"), std::string::npos);
    EXPECT_FALSE(fs::exists(output / "Track01.mp3"));
    EXPECT_EQ(host.LastStatus(), "Converting - " + QString::fromStdString((scratch / "tone.wav").string()) + "....");
}

}  // namespace
}  // namespace velmora::front
