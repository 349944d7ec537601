#include "Media.h"
#include "RecordText.h"
#include "ScratchFolder.h"
#include "audio/WaveAudio.h"

#include <gtest/gtest.h>

namespace MediaLibrary::Audio {
namespace {

using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

int PrepareOn(const std::filesystem::path& source)
{
    Header::MEDIACONVERSIONINFO request;
    SetFieldText(request.szSourceFile, source.string());
    return CWaveAudio(request).Prepare();
}

TEST(WavePrepareTest, ReadsTheFormatOfARealWaveFile)
{
    ScratchFolder scratch;
    ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "sine=sample_rate=22050", "-t", "0.2", "-ac", "1",
                                          (scratch / "tone.wav").string()}));
    Header::MEDIACONVERSIONINFO request;
    SetFieldText(request.szSourceFile, (scratch / "tone.wav").string());
    CWaveAudio wave(request);
    EXPECT_EQ(wave.Prepare(), 0);
    const auto& header = wave.Layout().format;
    EXPECT_EQ(header.formatCode, 1);
    EXPECT_EQ(header.channels, 1);
    EXPECT_EQ(header.sampleRate, 22050u);
    EXPECT_EQ(header.bytesPerSecond, 44100u);
    EXPECT_EQ(header.blockAlign, 2);
    EXPECT_EQ(header.bitsPerSample, 16);
}

TEST(WavePrepareTest, NamesWhatIsWrongWithOtherSources)
{
    ScratchFolder scratch;
    WriteFile(scratch / "notes.txt", "just some text, long enough to fill a header of forty-four bytes");
    WriteFile(scratch / "short", "RIF");
    WriteFile(scratch / "riff only", "RIFF");
    WriteFile(scratch / "empty", "");
    ASSERT_TRUE(velmora::test::MakeClip(scratch / "clip.avi", 0.2, 64, 48));

    EXPECT_EQ(PrepareOn(scratch / "notes.txt"), CWaveAudio::kNotRiff);
    EXPECT_EQ(PrepareOn(scratch / "short"), CWaveAudio::kNotRiff);
    EXPECT_EQ(PrepareOn(scratch / "empty"), CWaveAudio::kNotRiff);
    EXPECT_EQ(PrepareOn(scratch / "riff only"), CWaveAudio::kNotWave);
    EXPECT_EQ(PrepareOn(scratch / "clip.avi"), CWaveAudio::kNotWave);
    EXPECT_EQ(PrepareOn(scratch / "absent.wav"), CWaveAudio::kCannotOpen);
    EXPECT_EQ(PrepareOn(scratch.path()), CWaveAudio::kCannotOpen);
    EXPECT_EQ(CWaveAudio::kCannotOpen, 6100);
    EXPECT_EQ(CWaveAudio::kNotRiff, 6001);
    EXPECT_EQ(CWaveAudio::kNotWave, 6002);
}

}  // namespace
}  // namespace MediaLibrary::Audio
