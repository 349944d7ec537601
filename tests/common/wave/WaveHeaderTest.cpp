#include "Media.h"
#include "ScratchFolder.h"
#include "wave/WaveHeader.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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

const std::string kCd = Format(1, 2, 44100, 16);

TEST(ParseWaveTest, FindsTheFormatAndTheRealDataChunkOfBytesOrFilesAndNamesWhatCannotBeRead)
{
    // bytes, problem, data offset and length, CD audio
    using Case = std::tuple<std::string, WaveProblem, std::uint64_t, std::uint64_t, bool>;
    for (const auto& [bytes, problem, offset, length, cdAudio] : std::vector<Case>{
             {Riff(kCd + Chunk("data", "abcd")), WaveProblem::None, 44, 4, true},
             // other chunks before the samples, one of odd size with its pad byte
             {Riff(Chunk("LIST", "INFOa") + '\0' + kCd + Chunk("data", "abcdefgh")), WaveProblem::None, 58, 8, true},
             {Riff(kCd + Chunk("data", "abcd", 1000)), WaveProblem::None, 44, 4, true},
             {Riff(Format(1, 1, 44100, 16) + Chunk("data", "ab")), WaveProblem::None, 44, 2, false},
             {Riff(Format(1, 2, 22050, 16) + Chunk("data", "")), WaveProblem::None, 44, 0, false},
             {Riff(Format(3, 2, 44100, 16) + Chunk("data", "")), WaveProblem::None, 44, 0, false},
             {"", WaveProblem::NotRiff, 0, 0, false},
             {"RIFF", WaveProblem::NotWave, 0, 0, false},
             {std::string("RIFF\x10\0\0\0AVI LIST", 16), WaveProblem::NotWave, 0, 0, false},
             {Riff(Chunk("data", "ab") + kCd), WaveProblem::NoFormat, 0, 0, false},
             {Riff(Chunk("fmt ", std::string(14, '\1')) + Chunk("data", "")), WaveProblem::NoFormat, 0, 0, false},
             {Riff(kCd + Chunk("LIST", "INFO")), WaveProblem::NoData, 0, 0, true}}) {
        const auto layout = ParseWave(bytes);
        EXPECT_EQ(std::tuple(layout.problem, layout.dataOffset, layout.dataLength, IsCdAudio(layout.format)),
                  std::tuple(problem, offset, length, cdAudio)) << bytes;
    }

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
    // A named pipe is refused at once, not waited on (or the alarm ends the test).
    ASSERT_EQ(::mkfifo((scratch / "pipe.wav").c_str(), 0600), 0);
    ::alarm(60);
    EXPECT_EQ(ReadWaveFile(scratch / "pipe.wav").problem, WaveProblem::CannotOpen);
    ::alarm(0);
}

}  // namespace
}  // namespace velmora::wave
