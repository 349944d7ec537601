#include "ScratchFolder.h"
#include "video/ReportParser.h"

#include <gtest/gtest.h>

namespace MediaLibrary::Video {
namespace {

std::string Captured(const std::string& name)
{
    const auto text = velmora::test::ReadFile(std::string(VELMORA_TEST_DATA) + "/reports/" + name);
    EXPECT_FALSE(text.empty()) << name;
    return text;
}

// overall bit rate, width, height, frame rate, sample rate, audio bit rate, duration
using Facts = std::tuple<int, int, int, int, int, int, std::optional<std::string>>;

struct Report {
    const char* name;
    std::string text;   // a file of tests/data/reports when it ends in .txt
    Facts expected;
};

class ReportParserTest : public ::testing::TestWithParam<Report> {};

TEST_P(ReportParserTest, ReadsTheFactsOfTheInputSection)
{
    const auto& report = GetParam();
    const auto facts = ParseReport(report.text.ends_with(".txt") ? Captured(report.text) : report.text);
    EXPECT_EQ(Facts(facts.overallBitRate, facts.width, facts.height, facts.frameRate, facts.sampleRate,
                    facts.audioBitRate, facts.duration), report.expected);
}

const std::string kStream = "Stream #0:0: Video: rawvideo, rgb24, 8x8, ";

INSTANTIATE_TEST_SUITE_P(
    Reports, ReportParserTest,
    ::testing::Values(
        // reports of the real encoder; in the first, a data stream comes before the video
        Report{"MpegPs", "mpeg-ps-dvd.txt", {1470, 720, 576, 25, 48000, 448, " 00:00:02.02"}},
        // commas inside the pixel format's parentheses
        Report{"Mp4", "mp4-h264-colour-tags.txt", {130, 320, 240, 25, 44100, 69, " 00:00:02.00"}},
        // the cover art is not the video, and a title reading "Video: x, 1x2" is not a stream
        Report{"Mp3CoverArt", "mp3-cover-art.txt", {199, 0, 0, 0, 44100, 128, " 00:00:02.04"}},
        // 29.97 keeps its whole part
        Report{"Mkv", "mkv-ntsc-rate.txt", {80, 640, 360, 29, 0, 0, " 00:00:01.00"}},
        // the example lines of the old encoder
        Report{"OldEncoder",
               "  Duration: 00:03:25.40, start: 0.000000, bitrate: 1200 kb/s\n"
               "    Stream #0.0: Video: mpeg4, yuv420p, 640x480 [PAR 1:1 DAR 4:3], 25.00 fps(r)\n"
               "    Stream #0.1: Audio: mp3, 44100 Hz, stereo, s16, 128 kb/s\n",
               {1200, 640, 480, 25, 44100, 128, " 00:03:25.40"}},
        Report{"NoBitRate", "  Duration: 00:00:05.00, start: 0.000000\n  " + kStream + "12 fps, 12 tbr, 12k tbn\n",
               {0, 8, 8, 12, 0, 0, " 00:00:05.00"}},
        Report{"NotAvailable", "  Duration: N/A, start: 0.000000, bitrate: N/A\n", {0, 0, 0, 0, 0, 0, " N/A"}},
        Report{"DurationWithoutComma", "  Duration: 00:00:05.00\n", {0, 0, 0, 0, 0, 0, {}}},
        // frame rates: tbr without fps, fractions
        Report{"Tbr", kStream + "90k tbr, 90k tbn\n", {0, 8, 8, 90000, 0, 0, {}}},
        Report{"Fraction", kStream + "23.98 fps, 24 tbr\n", {0, 8, 8, 23, 0, 0, {}}},
        Report{"OutputIgnored",
               "Input #0, wav, from 'a.wav':\n  Duration: 00:00:01.00, bitrate: 1411 kb/s\n"
               "  Stream #0:0: Audio: pcm_s16le, 44100 Hz, stereo, s16, 1411 kb/s\nStream mapping:\n"
               "  Stream #0:0 -> #0:0 (pcm_s16le (native) -> mp3 (libmp3lame))\nOutput #0, avi, to 'b.avi':\n"
               "  Stream #0:0: Video: mpeg4, yuv420p, 640x480, 25 fps\n  Stream #0:1: Audio: mp3, 22050 Hz, 64 kb/s\n",
               {1411, 0, 0, 0, 44100, 1411, " 00:00:01.00"}},
        // sizes: a bracket first gives none, hexadecimal tags are none, too large is none
        Report{"BracketedSize", "Stream #0:0: Video: mpeg4, [PAR 1:1] 640x480, 25 fps\n", {0, 0, 0, 25, 0, 0, {}}},
        Report{"HexTags", "Stream #0:0: Video: mpeg4 (FMP4 / 0x34504D46), yuv420p, 0x0, 1x2\n", {0, 1, 2, 0, 0, 0, {}}},
        Report{"Bare", "Stream #0:0: Video: h264, 99999999x2\nStream #0:1: Audio:\nDuration:", {0, 0, 0, 0, 0, 0, {}}},
        // the text stops at the first zero byte; numbers too large for the fields give 0
        Report{"ZeroByte", std::string("  Duration: 00:00:01.00, bitrate: 5 kb/s\n\0", 42) + kStream + "25 fps\n",
               {5, 0, 0, 0, 0, 0, " 00:00:01.00"}},
        Report{"HugeNumbers", "Duration: 1, bitrate: 99999999999999 kb/s\nStream #0:0: Audio: pcm, 99999999999 Hz\n",
               {0, 0, 0, 0, 0, 0, " 1"}}),
    [](const auto& instance) { return instance.param.name; });

TEST(ReportParserSafetyTest, CutReportsAndEnormousLinesAreReadSafely)
{
    const auto full = Captured("mp4-h264-colour-tags.txt");
    for (std::size_t cut = 0; cut < full.size(); cut += 7) {
        const auto facts = ParseReport(std::string_view(full).substr(0, cut));
        EXPECT_TRUE(facts.width == 0 || facts.width == 320);
        EXPECT_TRUE(facts.height == 0 || facts.height == 240 || facts.height == 24 || facts.height == 2);
        EXPECT_GE(facts.sampleRate, 0);
    }
    std::string huge = "Stream #0:0: Video: h264";   // one enormous line without a newline
    for (int i = 0; i < 200000; ++i) huge += ", ((([[[";
    EXPECT_EQ(ParseReport(huge).width, 0);
}

}  // namespace
}  // namespace MediaLibrary::Video
