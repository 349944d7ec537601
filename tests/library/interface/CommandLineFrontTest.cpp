#include "Media.h"
#include "ScratchFolder.h"
#include "process/Process.h"

#include <gtest/gtest.h>

namespace {

using velmora::test::ScratchFolder;

struct Run {
    int status;
    std::string said;   // standard error
};

Run Lumetra(const std::vector<std::string>& arguments, const ScratchFolder& scratch)
{
    std::vector<std::string> words{LUMETRA_CLI};
    words.insert(words.end(), arguments.begin(), arguments.end());
    velmora::platform::SpawnOptions options;
    options.stderrFile = scratch / "stderr.txt";
    const auto outcome = velmora::platform::RunAndWait(words, options);
    return {outcome.exitStatus, velmora::test::ReadFile(scratch / "stderr.txt")};
}

TEST(CommandLineFrontTest, WrongWordsGiveAReasonAndTheUsage)
{
    ScratchFolder scratch;
    for (const auto& words : std::vector<std::vector<std::string>>{
             {},
             {"transcode", "a", "b"},
             {"convert", "--to", "wmv", "in.avi", "out.wmv"},
             {"convert", "--to", "mp4", "--size", "big", "in.avi", "out.mp4"},
             {"convert", "--to", "mp4", "--ab", "-5", "in.avi", "out.mp4"},
             {"convert", "--to", "mp4", "in.avi"},
             {"convert", "--to", "mp4", std::string(300, 'a'), "out.mp4"},
             {"probe"}}) {
        const auto run = Lumetra(words, scratch);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.said.find("usage: lumetra"), std::string::npos) << run.said;
    }
}

TEST(CommandLineFrontTest, ConvertsAndReportsFailuresWithOneLine)
{
    ScratchFolder scratch;
    velmora::test::ScopedEnvironment tmpdir("TMPDIR", scratch.path().string());
    ASSERT_TRUE(velmora::test::MakeClip(scratch / "in.avi", 1));

    const auto converted = Lumetra({"convert", "--to", "dvd", "--ab", "192", scratch / "in.avi", scratch / "out.mpg"}, scratch);
    EXPECT_EQ(converted.status, 0) << converted.said;
    EXPECT_TRUE(std::filesystem::exists(scratch / "out.mpg"));

    const auto missing = Lumetra({"convert", "--to", "mp4", scratch / "absent.avi", scratch / "out.mp4"}, scratch);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.said.find("is not a file"), std::string::npos);

    velmora::test::WriteFile(scratch / "junk.avi", "not a video at all");
    const auto junk = Lumetra({"convert", "--to", "mp4", scratch / "junk.avi", scratch / "junk.mp4"}, scratch);
    EXPECT_EQ(junk.status, 1);
    EXPECT_NE(junk.said.find("the conversion wrote no"), std::string::npos);

    const auto probeJunk = Lumetra({"probe", scratch / "junk.avi"}, scratch);
    EXPECT_EQ(probeJunk.status, 1);
    EXPECT_NE(probeJunk.said.find("no media facts"), std::string::npos);
}

}  // namespace
