#include "video/ReportParser.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <random>

namespace MediaLibrary::Video {
namespace {

std::string Captured(const std::string& name)
{
    const auto text = velmora::test::ReadFile(std::string(VELMORA_TEST_DATA) + "/reports/" + name);
    EXPECT_FALSE(text.empty()) << name;
    return text;
}

struct Expected {
    const char* report;
    int overallBitRate, width, height, frameRate, sampleRate, audioBitRate;
    const char* duration;
};

class CapturedReportTest : public ::testing::TestWithParam<Expected> {};

TEST_P(CapturedReportTest, ReadsTheFactsOfRealEncoderReports)
{
    const auto& expected = GetParam();
    const auto facts = ParseReport(Captured(expected.report));
    EXPECT_EQ(facts.overallBitRate, expected.overallBitRate);
    EXPECT_EQ(facts.width, expected.width);
    EXPECT_EQ(facts.height, expected.height);
    EXPECT_EQ(facts.frameRate, expected.frameRate);
    EXPECT_EQ(facts.sampleRate, expected.sampleRate);
    EXPECT_EQ(facts.audioBitRate, expected.audioBitRate);
    EXPECT_EQ(facts.duration, expected.duration);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, CapturedReportTest,
    ::testing::Values(Expected{"avi-mpeg4-mp3.txt", 443, 320, 240, 25, 44100, 64, " 00:00:02.04"},
                      // a data stream comes first; the video is found after it
                      Expected{"mpeg-ps-dvd.txt", 1470, 720, 576, 25, 48000, 448, " 00:00:02.02"},
                      // commas inside the pixel format's parentheses
                      Expected{"mp4-h264-colour-tags.txt", 130, 320, 240, 25, 44100, 69, " 00:00:02.00"},
                      // the cover art is not the video, and a title reading "Video: x, 1x2" is not a stream
                      Expected{"mp3-cover-art.txt", 199, 0, 0, 0, 44100, 128, " 00:00:02.04"},
                      Expected{"wav-pcm.txt", 1411, 0, 0, 0, 44100, 1411, " 00:00:02.00"},
                      // 29.97 keeps its whole part
                      Expected{"mkv-ntsc-rate.txt", 80, 640, 360, 29, 0, 0, " 00:00:01.00"}));

TEST(ReportParserTest, TheDesignedExampleLinesGiveTheDesignedValues)
{
    const auto facts = ParseReport(
        "Input #0, avi, from 'x.avi':\n"
        "  Duration: 00:03:25.40, start: 0.000000, bitrate: 1200 kb/s\n"
        "    Stream #0.0: Video: mpeg4, yuv420p, 640x480 [PAR 1:1 DAR 4:3], 25.00 fps(r)\n"
        "    Stream #0.1: Audio: mp3, 44100 Hz, stereo, s16, 128 kb/s\n");
    EXPECT_EQ(facts.width, 640);
    EXPECT_EQ(facts.height, 480);
    EXPECT_EQ(facts.frameRate, 25);
    EXPECT_EQ(facts.sampleRate, 44100);
    EXPECT_EQ(facts.audioBitRate, 128);
    EXPECT_EQ(facts.overallBitRate, 1200);
    EXPECT_EQ(facts.duration, " 00:03:25.40");

    const auto shortAudio = ParseReport("  Stream #0:0: Audio: mp3, 44100 Hz, stereo\n");
    EXPECT_EQ(shortAudio.sampleRate, 44100);
    EXPECT_EQ(shortAudio.audioBitRate, 0);
}

TEST(ReportParserTest, DurationWithoutBitrateOrWithNotAvailableValues)
{
    const auto noBitrate = ParseReport(
        "  Duration: 00:00:05.00, start: 0.000000\n"
        "  Stream #0:0: Video: h264, yuv420p, 176x144, 12 fps, 12 tbr, 12k tbn\n");
    EXPECT_EQ(noBitrate.overallBitRate, 0);
    EXPECT_EQ(noBitrate.width, 176);
    EXPECT_EQ(noBitrate.frameRate, 12);

    const auto unknown = ParseReport("  Duration: N/A, start: 0.000000, bitrate: N/A\n");
    EXPECT_EQ(unknown.duration, " N/A");
    EXPECT_EQ(unknown.overallBitRate, 0);

    EXPECT_FALSE(ParseReport("  Duration: 00:00:05.00\n").duration);   // no comma: no length
}

TEST(ReportParserTest, FrameRateFallsBackToTbrAndReadsThousands)
{
    EXPECT_EQ(ParseReport("Stream #0:0: Video: mjpeg, yuvj420p(pc), 300x300, 90k tbr, 90k tbn\n").frameRate, 90000);
    EXPECT_EQ(ParseReport("Stream #0:0: Video: rawvideo, rgb24, 8x8, 1.5k fps\n").frameRate, 1500);
    EXPECT_EQ(ParseReport("Stream #0:0: Video: rawvideo, rgb24, 8x8, 23.98 fps, 24 tbr\n").frameRate, 23);
    EXPECT_EQ(ParseReport("Stream #0:0: Video: rawvideo, rgb24, 8x8, N/A fps, 30 tbr\n").frameRate, 30);
}

TEST(ReportParserTest, OnlyTheInputSectionCounts)
{
    const auto facts = ParseReport(
        "Input #0, wav, from 'a.wav':\n"
        "  Duration: 00:00:01.00, bitrate: 1411 kb/s\n"
        "  Stream #0:0: Audio: pcm_s16le, 44100 Hz, stereo, s16, 1411 kb/s\n"
        "Stream mapping:\n"
        "  Stream #0:0 -> #0:0 (pcm_s16le (native) -> mp3 (libmp3lame))\n"
        "Output #0, avi, to 'b.avi':\n"
        "  Stream #0:0: Video: mpeg4, yuv420p, 640x480, 25 fps\n"
        "  Stream #0:1: Audio: mp3, 22050 Hz, mono, fltp, 64 kb/s\n");
    EXPECT_EQ(facts.width, 0);
    EXPECT_EQ(facts.sampleRate, 44100);
    EXPECT_EQ(facts.audioBitRate, 1411);
}

TEST(ReportParserTest, SizeMustReadWidthByHeight)
{
    // a size field that starts with a bracket does not give a size
    EXPECT_EQ(ParseReport("Stream #0:0: Video: mpeg4, yuv420p, [PAR 1:1] 640x480, 25 fps\n").width, 0);
    // hexadecimal tags inside parentheses are not sizes
    const auto tagged = ParseReport("Stream #0:0: Video: mpeg4 (FMP4 / 0x34504D46), yuv420p, 0x0, 1x2\n");
    EXPECT_EQ(tagged.width, 1);
    EXPECT_EQ(tagged.height, 2);
    EXPECT_EQ(ParseReport("Stream #0:0: Video: h264, 99999999x2\n").width, 0);
}

TEST(ReportParserTest, TruncatedAndMissingFieldsLeaveZeros)
{
    const auto full = Captured("mp4-h264-colour-tags.txt");
    for (std::size_t cut = 0; cut < full.size(); cut += 7) {
        const auto facts = ParseReport(std::string_view(full).substr(0, cut));
        EXPECT_TRUE(facts.width == 0 || facts.width == 320);
        EXPECT_TRUE(facts.height == 0 || facts.height == 240 || facts.height == 24 || facts.height == 2);
        EXPECT_GE(facts.sampleRate, 0);
    }
    const auto bare = ParseReport("Stream #0:0: Video: h264\nStream #0:1: Audio:\nDuration:");
    EXPECT_EQ(bare.width, 0);
    EXPECT_EQ(bare.frameRate, 0);
    EXPECT_EQ(bare.sampleRate, 0);
    EXPECT_FALSE(bare.duration);
}

TEST(ReportParserTest, HostileReportsAreReadSafely)
{
    // one enormous line without a newline
    std::string huge = "Stream #0:0: Video: h264";
    for (int i = 0; i < 200000; ++i) huge += ", ((([[[";
    EXPECT_EQ(ParseReport(huge).width, 0);

    // the text stops at the first zero byte
    std::string zero = "  Duration: 00:00:01.00, bitrate: 5 kb/s\n";
    zero += '\0';
    zero += "Stream #0:0: Video: h264, yuv420p, 640x480, 25 fps\n";
    EXPECT_EQ(ParseReport(zero).overallBitRate, 5);
    EXPECT_EQ(ParseReport(zero).width, 0);

    // numbers too large for the fields give 0
    EXPECT_EQ(ParseReport("Duration: 1, bitrate: 99999999999999 kb/s\n").overallBitRate, 0);
    EXPECT_EQ(ParseReport("Stream #0:0: Audio: pcm, 99999999999 Hz\n").sampleRate, 0);

    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string junk(4096, '\0');
        for (auto& c : junk) c = static_cast<char>(byte(random));
        junk.insert(junk.size() / 2, "\n  Stream #0:0: Video: ");
        const auto facts = ParseReport(junk);
        EXPECT_GE(facts.width, 0);
        EXPECT_GE(facts.frameRate, 0);
    }
}

TEST(ReportParserTest, FieldsSplitOnlyAtTopLevelCommas)
{
    const auto fields = SplitFields(" h264 (High) (avc1 / 0x31637661), yuv420p(tv, bt709, progressive), 320x240 [SAR 1:1, x], ,");
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[1], " yuv420p(tv, bt709, progressive)");
    EXPECT_EQ(fields[2], " 320x240 [SAR 1:1, x]");
    EXPECT_EQ(LeadingInteger("  -42abc"), -42);
    EXPECT_EQ(LeadingInteger("N/A"), 0);
    EXPECT_EQ(LeadingInteger(""), 0);
}

}  // namespace
}  // namespace MediaLibrary::Video
