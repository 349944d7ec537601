#include "RecordText.h"
#include "interface/Failure.h"
#include "ScratchFolder.h"
#include "video/Video.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace MediaLibrary::Video {
namespace {

using namespace velmora::test;
using Header::MEDIACONVERSIONINFO;

// A request for the source with the quality fields given: audio bit rate, channels, sample rate,
// video bit rate, width, height, frame rate.
MEDIACONVERSIONINFO Request(const std::filesystem::path& source, const std::vector<int>& numbers = {})
{
    MEDIACONVERSIONINFO request;
    SetFieldText(request.szSourceFile, source.string());
    SetFieldText(request.szOutputFile, "/media/out.mp4");
    std::int32_t* fields[] = {&request.nAudioBitRate, &request.nAudioChannels, &request.nSampleRate,
                              &request.nVideoBitRate, &request.nWidth, &request.nHeight, &request.nFrameRate};
    for (std::size_t at = 0; at < numbers.size(); ++at) *fields[at] = numbers[at];
    return request;
}

struct Commands {
    std::vector<int> numbers;
    const char* video;          // the options between the quoted paths
    const char* audio;
    const char* dvd;
};

TEST(EncoderArgumentsTest, GivenQualityFieldsBecomeOptionsInOrderAndThePathsStayQuotedFromFieldsThatEnd)
{
    for (const auto& expected : {
             Commands{{128, 2, 44100, 800, 352, 288, 25}, " -ab 128k -ac 2 -ar 44100 -b 800k -r 25 -s 352x288",
                      " -ab 128k -ac 2 -ar 44100",
                      " -ab 128k -ac 2 -ar 44100 -acodec mp2 -b 800k -r 25 -s 352x288"},
             Commands{{}, "", "", " -acodec mp2"},
             // a size needs both sides; zero and negative values count as not given
             Commands{{0, 0, 0, 0, 720}, "", "", " -acodec mp2"},
             Commands{{0, 0, 0, 0, 0, 576}, "", "", " -acodec mp2"},
             Commands{{-128, -2, -1, -800, -720, -576, -25}, "", "", " -acodec mp2"},
             Commands{{0, 1, 0, 0, 720, 576}, " -ac 1 -s 720x576", " -ac 1", " -ac 1 -acodec mp2 -s 720x576"}}) {
        const CAVI converter(Request("/media/in put.avi", expected.numbers));
        const std::string in = "-i \"/media/in put.avi\"", out = " \"/media/out.mp4\"";
        EXPECT_EQ(converter.GetVideoCommand().Text(), in + expected.video + out);
        EXPECT_EQ(converter.GetAudioCommand().Text(), in + expected.audio + out);
        EXPECT_EQ(converter.GetDvdCommand().Text(), in + expected.dvd + " -target pal-dvd -aspect 4:3" + out);
    }

    // Fields without a terminator, and text too long to store, are refused.
    MEDIACONVERSIONINFO request;
    std::memset(request.szSourceFile, 'a', sizeof request.szSourceFile);
    EXPECT_FALSE(FieldText(request.szSourceFile));
    EXPECT_TRUE(SetFieldText(request.szOutputFile, std::string(259, 'b')));
    EXPECT_EQ(FieldText(request.szOutputFile)->size(), 259u);
    EXPECT_FALSE(SetFieldText(request.szOutputFile, std::string(260, 'c')));
    EXPECT_EQ(FieldText(request.szOutputFile), "");
}

TEST(RunnerTest, TheEncoderReadsTheSourceByDescriptorSoNoNameReachesItsReportAndProbesNeverShareACapture)
{
    ScratchFolder scratch;
    const ScopedEnvironment tmpdir("TMPDIR", scratch.path().string());
    // The stand-in describes what it reads and records the words it was given.
    const auto fake = FakeTool(scratch.path(), "ffmpeg", "echo \"$*\" >> \"$TMPDIR/seen\"\n"
                               "echo '  Duration: 00:00:07.50, bitrate: 321 kb/s' >&2\n"
                               "echo \"  Stream #0:0: Video: h264, $(cat /dev/fd/3)x144, 15 fps\" >&2; sleep 0.3; exit 1");
    WriteFile(scratch / "111.avi", "111");
    WriteFile(scratch / "222.avi", "222");
    Header::MEDIACONVERSIONINFO first, second;
    char length[20] = "";
    const pid_t child = ::fork();
    if (child == 0) {
        CAVI(Request(scratch / "222.avi")).Probe(&second);
        ::_exit(second.nWidth == 222 ? 0 : 1);
    }
    CAVI converter(Request(scratch / "111.avi"));
    EXPECT_TRUE(converter.ReadMediaFacts(first, length));
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(std::tuple(first.nWidth, first.nFrameRate, first.nVideoBitRate, std::string(length)),
              std::tuple(111, 15, 321, " 00:00:07.50"));
    EXPECT_EQ(ReadFile(scratch / "seen"), "-hide_banner -i file:/dev/fd/3\n-hide_banner -i file:/dev/fd/3\n");
    const auto folder = scratch / ("velmora-" + std::to_string(::getuid()));
    EXPECT_TRUE(!std::filesystem::exists(folder) || std::filesystem::is_empty(folder));

    // A pipe would keep the encoder waiting for ever: it is refused before the encoder runs.
    ::mkfifo((scratch / "pipe.avi").c_str(), 0600);
    EXPECT_FALSE(CAVI(Request(scratch / "pipe.avi")).ReadMediaFacts(first, length));
    EXPECT_EQ(LastFailure(), (scratch / "pipe.avi").string() + " is not a file");
}

}  // namespace
}  // namespace MediaLibrary::Video
