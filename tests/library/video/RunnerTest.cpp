#include "RecordText.h"
#include "ScratchFolder.h"
#include "video/Video.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace MediaLibrary::Video {
namespace {

using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;

class RunnerTest : public ::testing::Test {
protected:
    static Header::MEDIACONVERSIONINFO RequestFor(const std::filesystem::path& source)
    {
        Header::MEDIACONVERSIONINFO request;
        SetFieldText(request.szSourceFile, source.string());
        return request;
    }

    // A stand-in encoder first on PATH.
    void UseEncoder(const std::string& script)
    {
        std::filesystem::create_directories(scratch / "bin");
        velmora::test::WriteFakeTool(scratch / "bin" / "ffmpeg", script);
        path.emplace("PATH", (scratch / "bin").string() + ":/usr/bin:/bin");
    }

    std::filesystem::path PrivateFolder() const { return scratch / ("velmora-" + std::to_string(::getuid())); }

    ScratchFolder scratch;
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
    std::optional<ScopedEnvironment> path;
};

TEST_F(RunnerTest, AProgramThatCannotStartGives6101AndAnyExitStatusGivesZero)
{
    CAVI converter(RequestFor("in"));
    CommandLine missing, failing, version;
    missing.Add((scratch / "no-such-program").string());
    EXPECT_EQ(converter.RunCommand(missing, false), Result::kToolNotStarted);
    failing.Add("/bin/sh").Add("-c").Add("exit 9");
    EXPECT_EQ(converter.RunCommand(failing, false), 0);
    ScopedEnvironment empty("PATH", (scratch / "empty").string());
    version.Add("-version");
    EXPECT_EQ(converter.RunCommand(version, true), Result::kToolNotStarted);
}

TEST_F(RunnerTest, ReportIsCapturedUnderItsFixedNameInThePrivateFolderAndRemoved)
{
    // The stand-in records where its report goes before writing it.
    UseEncoder("readlink /proc/$$/fd/2 > \"$TMPDIR/seen-capture\"\n"
               "echo '  Duration: 00:00:07.50, start: 0.000000, bitrate: 321 kb/s' >&2\n"
               "echo '  Stream #0:0: Video: h264, yuv420p, 176x144, 15 fps' >&2\n"
               "exit 1");
    CAVI converter(RequestFor(scratch / "in.avi"));
    Header::MEDIACONVERSIONINFO facts;
    converter.Probe(&facts);
    EXPECT_EQ(std::tuple(facts.nWidth, facts.nFrameRate, facts.nVideoBitRate), std::tuple(176, 15, 321));
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
    // Slow to describe its input: two programs probing at once would overwrite each other's
    // report if the capture were not shared in turns.
    UseEncoder("echo \"  Stream #0:0: Video: h264, yuv420p, $(basename \"$2\" .avi)x100, 25 fps\" >&2; sleep 0.3");
    const pid_t child = ::fork();
    if (child == 0) {
        Header::MEDIACONVERSIONINFO facts;
        CAVI(RequestFor(scratch / "222.avi")).Probe(&facts);
        ::_exit(facts.nWidth == 222 ? 0 : 1);
    }
    Header::MEDIACONVERSIONINFO facts;
    CAVI(RequestFor(scratch / "111.avi")).Probe(&facts);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(facts.nWidth, 111);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace MediaLibrary::Video
