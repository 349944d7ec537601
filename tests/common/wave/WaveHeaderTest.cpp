#include "Media.h"
#include "ScratchFolder.h"
#include "wave/WaveHeader.h"

#include <gtest/gtest.h>

namespace velmora::wave {
namespace {

std::string Little(std::uint32_t value, int bytes)
{
    std::string text;
    for (int at = 0; at < bytes; ++at) text += static_cast<char>(value >> (8 * at) & 0xFF);
    return text;
}

std::string Chunk(const std::string& id, const std::string& body, std::uint32_t declared = 0xFFFFFFFF)
{
    return id + Little(declared == 0xFFFFFFFF ? static_cast<std::uint32_t>(body.size()) : declared, 4) + body;
}

std::string Format(int code, int channels, int rate, int bits)
{
    const int block = channels * bits / 8;
    return Chunk("fmt ", Little(code, 2) + Little(channels, 2) + Little(rate, 4) + Little(rate * block, 4) +
                             Little(block, 2) + Little(bits, 2));
}

std::string Riff(const std::string& chunks)
{
    return "RIFF" + Little(static_cast<std::uint32_t>(chunks.size() + 4), 4) + "WAVE" + chunks;
}

struct Case {
    const char* name;
    std::string bytes;
    WaveProblem problem;
    std::uint64_t dataOffset, dataLength;
    bool cdAudio;
};

const std::string kCd = Format(1, 2, 44100, 16);

class ParseWaveTest : public ::testing::TestWithParam<Case> {};

TEST_P(ParseWaveTest, FindsTheFormatAndTheRealDataChunk)
{
    const auto& expected = GetParam();
    const auto layout = ParseWave(expected.bytes);
    EXPECT_EQ(layout.problem, expected.problem);
    EXPECT_EQ(layout.dataOffset, expected.dataOffset);
    EXPECT_EQ(layout.dataLength, expected.dataLength);
    EXPECT_EQ(IsCdAudio(layout.format), expected.cdAudio);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ParseWaveTest,
    ::testing::Values(
        Case{"canonical", Riff(kCd + Chunk("data", "abcd")), WaveProblem::None, 44, 4, true},
        // other chunks before the samples, one of odd size with its pad byte
        Case{"listFirst", Riff(Chunk("LIST", "INFOa") + '\0' + kCd + Chunk("data", "abcdefgh")),
             WaveProblem::None, 58, 8, true},
        Case{"dataPastTheEnd", Riff(kCd + Chunk("data", "abcd", 1000)), WaveProblem::None, 44, 4, true},
        Case{"mono", Riff(Format(1, 1, 44100, 16) + Chunk("data", "ab")), WaveProblem::None, 44, 2, false},
        Case{"slow", Riff(Format(1, 2, 22050, 16) + Chunk("data", "")), WaveProblem::None, 44, 0, false},
        Case{"float", Riff(Format(3, 2, 44100, 16) + Chunk("data", "")), WaveProblem::None, 44, 0, false},
        Case{"empty", "", WaveProblem::NotRiff, 0, 0, false},
        Case{"text", "just some text, long enough for a header", WaveProblem::NotRiff, 0, 0, false},
        Case{"riffOnly", "RIFF", WaveProblem::NotWave, 0, 0, false},
        Case{"avi", std::string("RIFF\x10\0\0\0AVI LIST", 16), WaveProblem::NotWave, 0, 0, false},
        Case{"noChunks", Riff(""), WaveProblem::NoFormat, 0, 0, false},
        Case{"dataFirst", Riff(Chunk("data", "ab") + kCd), WaveProblem::NoFormat, 0, 0, false},
        Case{"shortFormat", Riff(Chunk("fmt ", std::string(14, '\1')) + Chunk("data", "")),
             WaveProblem::NoFormat, 0, 0, false},
        Case{"noData", Riff(kCd + Chunk("LIST", "INFO")), WaveProblem::NoData, 0, 0, true}),
    [](const auto& instance) { return instance.param.name; });

TEST(ReadWaveFileTest, ReadsFilesAsTheirBytesAndNamesWhatCannotBeRead)
{
    test::ScratchFolder scratch;
    // ffmpeg puts a LIST chunk between the format and the samples.
    ASSERT_TRUE(test::MakeTone(scratch / "tone.wav", 0.5));
    const auto layout = ReadWaveFile(scratch / "tone.wav");
    ASSERT_TRUE(layout.IsWave());
    EXPECT_GT(layout.dataOffset, 44u);
    EXPECT_EQ(test::ReadFile(scratch / "tone.wav").substr(layout.dataOffset - 8, 4), "data");
    EXPECT_EQ(layout.dataLength, 22050u * 4);
    EXPECT_TRUE(IsCdAudioFile(scratch / "tone.wav"));

    EXPECT_EQ(ReadWaveFile(scratch / "absent.wav").problem, WaveProblem::CannotOpen);
    EXPECT_EQ(ReadWaveFile(scratch.path()).problem, WaveProblem::CannotOpen);
    EXPECT_FALSE(IsCdAudioFile(scratch / "absent.wav"));
}

}  // namespace
}  // namespace velmora::wave
