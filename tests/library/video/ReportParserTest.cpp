#include "Media.h"
#include "ScratchFolder.h"
#include "video/ReportParser.h"

#include <gtest/gtest.h>

namespace MediaLibrary::Video {
namespace {

const std::string kStream = "Stream #0:0: Video: rawvideo, rgb24, 8x8, ";

TEST(ReportParserTest, ReadsTheFactsOfTheInputSectionOfEveryShapeOfReport)
{
    // overall bit rate, width, height, frame rate, sample rate, audio bit rate, duration
    using Facts = std::tuple<int, int, int, int, int, int, std::optional<std::string>>;
    for (const auto& [text, expected] : std::vector<std::pair<std::string, Facts>>{
             // the example lines of the old encoder
             {"  Duration: 00:03:25.40, start: 0.000000, bitrate: 1200 kb/s\n"
              "    Stream #0.0: Video: mpeg4, yuv420p, 640x480 [PAR 1:1 DAR 4:3], 25.00 fps(r)\n"
              "    Stream #0.1: Audio: mp3, 44100 Hz, stereo, s16, 128 kb/s\n",
              {1200, 640, 480, 25, 44100, 128, " 00:03:25.40"}},
             {"  Duration: 00:00:05.00, start: 0.000000\n  " + kStream + "12 fps, 12 tbr, 12k tbn\n",
              {0, 8, 8, 12, 0, 0, " 00:00:05.00"}},
             {"  Duration: N/A, start: 0.000000, bitrate: N/A\n", {0, 0, 0, 0, 0, 0, " N/A"}},
             {kStream + "30 tbr, 90k tbn\n", {0, 8, 8, 30, 0, 0, {}}},   // tbr without fps
             {"  Duration: 00:00:01.00, bitrate: 1411 kb/s\n  Stream #0:0: Audio: pcm_s16le, 44100 Hz, 1411 kb/s\n"
              "Output #0, avi, to 'b.avi':\n  Stream #0:0: Video: mpeg4, 640x480, 25 fps\n  Stream #0:1: Audio: mp3\n",
              {1411, 0, 0, 0, 44100, 1411, " 00:00:01.00"}},   // the output section is not the input
             // sizes: a bracket first gives none, hexadecimal tags are none, too large is none
             {"Stream #0:0: Video: mpeg4, [PAR 1:1] 640x480, 25 fps\n", {0, 0, 0, 25, 0, 0, {}}},
             {"Stream #0:0: Video: mpeg4 (FMP4 / 0x34504D46), yuv420p, 0x0, 1x2\n", {0, 1, 2, 0, 0, 0, {}}},
             {"Stream #0:0: Video: h264, 99999999x2\nStream #0:1: Audio:\nDuration:", {0, 0, 0, 0, 0, 0, {}}},
             // the text stops at the first zero byte; numbers too large for the fields give 0
             {std::string("  Duration: 00:00:01.00, bitrate: 5 kb/s\n\0", 42) + kStream + "25 fps\n",
              {5, 0, 0, 0, 0, 0, " 00:00:01.00"}},
             {"Duration: 1, bitrate: 99999999999999 kb/s\nStream #0:0: Audio: pcm, 99999999999 Hz\n",
              {0, 0, 0, 0, 0, 0, " 1"}},
             // negative figures and figures no stream has are unknown too, whatever the sign or the k
             {"Duration: 1, bitrate: -5 kb/s\nStream #0:0: Audio: mp3, 44100 Hz, stereo, -128 kb/s\n",
              {0, 0, 0, 0, 44100, 0, " 1"}},
             {"Duration: 1, bitrate: 2147483647 kb/s\nStream #0:0: Audio: pcm, 2000000000 Hz, 2147483k kb/s\n"
              "Stream #0:1: Video: h264, 8x8, 1001 fps, 90k tbr\n",
              {0, 8, 8, 0, 0, 0, " 1"}},
             {"Duration: 1, bitrate: 100000000 kb/s\nStream #0:0: Audio: pcm, 1000000 Hz, 100000000 kb/s\n"
              "Stream #0:1: Video: h264, 8x8, 1000 fps\n",
              {100000000, 8, 8, 1000, 1000000, 100000000, " 1"}}}) {
        const auto facts = ParseReport(text);
        EXPECT_EQ(Facts(facts.overallBitRate, facts.width, facts.height, facts.frameRate, facts.sampleRate,
                        facts.audioBitRate, facts.duration), expected) << text;
    }
}

// The encoder's own reports on media it makes: a DVD stream with a data stream before the video, an MP4
// with commas inside the pixel format's parentheses, an MP3 whose cover art is not the video and whose
// title reads like a stream, and 29.97 frames a second, which keeps its whole part.
TEST(ReportParserTest, ReadsTheEncodersOwnReportsWholeOrCutShort)
{
    velmora::test::ScratchFolder scratch;
    const std::vector<std::string> clip{"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-f", "lavfi", "-i",
                                        "sine", "-t", "1"};
    // width, height, frame rate, sample rate
    for (auto [words, expected] : std::vector<std::pair<std::vector<std::string>, std::tuple<int, int, int, int>>>{
             {{"-target", "pal-dvd", "-aspect", "4:3", "dvd.mpg"}, {720, 576, 25, 48000}},
             {{"-c:v", "libx264", "-pix_fmt", "yuv444p", "-colorspace", "bt709", "-color_primaries", "bt709",
               "-color_trc", "bt709", "-c:a", "aac", "colour.mp4"}, {320, 240, 25, 44100}},
             {{"-map", "1:a", "-map", "0:v", "-frames:v", "1", "-c:v", "mjpeg", "-disposition:v", "attached_pic",
               "-metadata", "title=Video: x, 1x2", "cover.mp3"}, {0, 0, 0, 44100}},
             {{"-map", "0:v", "-r", "30000/1001", "-c:v", "libx264", "ntsc.mkv"}, {320, 240, 29, 0}}}) {
        const auto file = scratch / words.back();
        words.back() = file.string();
        words.insert(words.begin(), clip.begin(), clip.end());
        ASSERT_TRUE(velmora::test::RunFfmpeg(words)) << file;
        const auto report = velmora::test::DescribeWithFfmpeg(file);
        const auto facts = ParseReport(report);
        EXPECT_EQ(std::tuple(facts.width, facts.height, facts.frameRate, facts.sampleRate), expected) << report;
        EXPECT_TRUE(facts.overallBitRate > 0 && facts.duration && (facts.audioBitRate > 0) == (facts.sampleRate > 0));
        // Cut short anywhere, a report gives its facts or none; cover art cut before its mark reads as video.
        for (std::size_t cut = 0; std::get<0>(expected) > 0 && cut < report.size(); cut += 7) {
            const auto part = ParseReport(std::string_view(report).substr(0, cut));
            EXPECT_TRUE(part.width == 0 || part.width == std::get<0>(expected)) << file << " cut at " << cut;
            const auto height = std::to_string(std::get<1>(expected));
            EXPECT_TRUE(part.height == 0 || height.starts_with(std::to_string(part.height))) << cut;
        }
    }
    std::string huge = "Stream #0:0: Video: h264";   // one enormous line without a newline
    for (int i = 0; i < 200000; ++i) huge += ", ((([[[";
    EXPECT_EQ(ParseReport(huge).width, 0);
}

}  // namespace
}  // namespace MediaLibrary::Video
