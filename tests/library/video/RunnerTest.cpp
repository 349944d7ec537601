#include "FakeTool.h"
#include "Media.h"
#include "RecordText.h"
#include "ScratchFolder.h"
#include "video/Video.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace MediaLibrary::Video {
namespace {

using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;

class RunnerTest : public ::testing::Test {
protected:
    Header::MEDIACONVERSIONINFO RequestFor(const std::filesystem::path& source, const std::filesystem::path& output = {})
    {
        Header::MEDIACONVERSIONINFO request;
        SetFieldText(request.szSourceFile, source.string());
        SetFieldText(request.szOutputFile, output.string());
        return request;
    }

    std::filesystem::path PrivateFolder() const { return scratch / ("velmora-" + std::to_string(::getuid())); }

    ScratchFolder scratch;
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
};

TEST_F(RunnerTest, AMissingEncoderIsNotStartedAndLeavesNothingBehind)
{
    ScopedEnvironment path("PATH", (scratch / "empty").string());
    CAVI converter(RequestFor(scratch / "in.avi", scratch / "out.avi"));
    CommandLine command;
    command.Add("-version");
    EXPECT_EQ(converter.RunCommand(command, true), Result::kToolNotStarted);

    Header::MEDIACONVERSIONINFO facts;
    facts.nWidth = 99;
    converter.Probe(&facts);
    EXPECT_EQ(facts.nWidth, 0);
    char buffer[20] = "unchanged";
    EXPECT_EQ(converter.ReadPlayLength(buffer), 0);
    EXPECT_STREQ(buffer, "unchanged");
}

TEST_F(RunnerTest, AProgramThatCannotStartGives6101AndAnyExitStatusGivesZero)
{
    CAVI converter(RequestFor("in"));
    CommandLine missing;
    missing.Add((scratch / "no-such-program").string());
    EXPECT_EQ(converter.RunCommand(missing, false), Result::kToolNotStarted);

    CommandLine failing;
    failing.Add("/bin/sh").Add("-c").Add("exit 9");
    EXPECT_EQ(converter.RunCommand(failing, false), 0);
}

TEST_F(RunnerTest, ReportIsCapturedUnderItsFixedNameInThePrivateFolderAndRemoved)
{
    // A stand-in encoder that records where its report went before writing it.
    std::filesystem::create_directories(scratch / "bin");
    velmora::test::WriteFakeTool(scratch / "bin" / "ffmpeg",
        "readlink /proc/$$/fd/2 > \"$TMPDIR/seen-capture\"\n"
        "echo '  Duration: 00:00:07.50, start: 0.000000, bitrate: 321 kb/s' >&2\n"
        "echo '  Stream #0:0: Video: h264, yuv420p, 176x144, 15 fps' >&2\n"
        "exit 1");
    ScopedEnvironment path("PATH", (scratch / "bin").string() + ":/usr/bin:/bin");

    CAVI converter(RequestFor(scratch / "in.avi"));
    Header::MEDIACONVERSIONINFO facts;
    converter.Probe(&facts);
    EXPECT_EQ(facts.nWidth, 176);
    EXPECT_EQ(facts.nFrameRate, 15);
    EXPECT_EQ(facts.nVideoBitRate, 321);
    EXPECT_EQ(velmora::test::ReadFile(scratch / "seen-capture"),
              (PrivateFolder() / CMediaLibrary::kProbeCapture).string() + "\n");

    char buffer[20] = "";
    converter.ReadPlayLength(buffer);
    EXPECT_STREQ(buffer, " 00:00:07.50");
    EXPECT_EQ(velmora::test::ReadFile(scratch / "seen-capture"),
              (PrivateFolder() / CMediaLibrary::kPlayLengthCapture).string() + "\n");

    EXPECT_FALSE(std::filesystem::exists(PrivateFolder() / CMediaLibrary::kProbeCapture));
    EXPECT_FALSE(std::filesystem::exists(PrivateFolder() / CMediaLibrary::kPlayLengthCapture));
}

TEST_F(RunnerTest, CapturesOfTwoProcessesTakeTurns)
{
    // A stand-in encoder that is slow to describe its input: two programs probing at once would
    // overwrite each other's report if the capture were not shared in turns.
    std::filesystem::create_directories(scratch / "bin");
    velmora::test::WriteFakeTool(scratch / "bin" / "ffmpeg",
        "echo \"  Stream #0:0: Video: h264, yuv420p, $(basename \"$2\" .avi)x100, 25 fps\" >&2; sleep 0.3");
    ScopedEnvironment path("PATH", (scratch / "bin").string() + ":/usr/bin:/bin");

    const pid_t child = ::fork();
    if (child == 0) {
        CAVI other(RequestFor(scratch / "222.avi"));
        Header::MEDIACONVERSIONINFO facts;
        other.Probe(&facts);
        ::_exit(facts.nWidth == 222 ? 0 : 1);
    }
    CAVI converter(RequestFor(scratch / "111.avi"));
    Header::MEDIACONVERSIONINFO facts;
    converter.Probe(&facts);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(facts.nWidth, 111);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(RunnerTest, APlantedCaptureLinkIsNotFollowed)
{
    std::filesystem::create_directories(scratch / "bin");
    velmora::test::WriteFakeTool(scratch / "bin" / "ffmpeg", "echo '  Duration: 00:00:01.00, bitrate: 1 kb/s' >&2");
    ScopedEnvironment path("PATH", (scratch / "bin").string() + ":/usr/bin:/bin");
    velmora::test::WriteFile(scratch / "victim", "precious");
    // Someone else's folder at the usual name: the runner must not use it at all.
    std::filesystem::create_directory(PrivateFolder());
    ::chmod(PrivateFolder().c_str(), 0777);
    std::filesystem::create_symlink(scratch / "victim", PrivateFolder() / CMediaLibrary::kProbeCapture);

    CAVI converter(RequestFor(scratch / "in.avi"));
    Header::MEDIACONVERSIONINFO facts;
    converter.Probe(&facts);
    EXPECT_EQ(facts.nVideoBitRate, 1);
    EXPECT_EQ(velmora::test::ReadFile(scratch / "victim"), "precious");
}

TEST_F(RunnerTest, RealEncoderProbesAHostileFileName)
{
    const auto clip = scratch / "a \"b\" $(touch pwned); rm -f y.avi";
    ASSERT_TRUE(velmora::test::MakeClip(scratch / "plain.avi", 1));
    std::filesystem::rename(scratch / "plain.avi", clip);
    velmora::test::WriteFile(scratch / "y.avi", "keep");

    CAVI converter(RequestFor(clip));
    Header::MEDIACONVERSIONINFO facts;
    converter.Probe(&facts);
    EXPECT_EQ(facts.nWidth, 320);
    EXPECT_EQ(facts.nHeight, 240);
    EXPECT_FALSE(std::filesystem::exists("pwned"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "pwned"));
    EXPECT_TRUE(std::filesystem::exists(scratch / "y.avi"));
}

}  // namespace
}  // namespace MediaLibrary::Video
