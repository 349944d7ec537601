#include "ScratchFolder.h"
#include "process/CommandLine.h"
#include "process/Process.h"

#include <gtest/gtest.h>

namespace velmora::platform {
namespace {

using test::ReadFile;
using test::ScratchFolder;

TEST(CommandLineTest, KeepsTheDisplayTextAndTheArgumentsInStep)
{
    CommandLine command;
    command.Add("-i").AddQuoted("my clip.avi").Add("-ab").Add("128k").AddQuoted("out.mp4");
    EXPECT_EQ(command.Text(), "-i \"my clip.avi\" -ab 128k \"out.mp4\"");
    EXPECT_EQ(command.Arguments(), (std::vector<std::string>{"-i", "my clip.avi", "-ab", "128k", "out.mp4"}));

    command.Prepend("/usr/bin/ffmpeg");
    EXPECT_EQ(command.Text(), "/usr/bin/ffmpeg -i \"my clip.avi\" -ab 128k \"out.mp4\"");
    EXPECT_EQ(command.Arguments().front(), "/usr/bin/ffmpeg");
}

TEST(ProcessTest, HandsHostileWordsOverVerbatimAndRunsNothingElse)
{
    ScratchFolder scratch;
    const std::vector<std::string> hostile{
        "a \"b\" $(touch " + (scratch / "pwned").string() + "); rm -f y.avi",
        "`touch " + (scratch / "pwned2").string() + "`",
        "clip\nwith newline.mp4",
        "ünïcödé ; | & > <",
    };
    std::vector<std::string> words{"/bin/sh", "-c", "printf '%s\\0' \"$@\" > \"$0\"", (scratch / "seen").string()};
    words.insert(words.end(), hostile.begin(), hostile.end());

    const auto outcome = RunAndWait(words);
    ASSERT_TRUE(outcome.started) << outcome.failure;
    EXPECT_EQ(outcome.exitStatus, 0);

    std::string expected;
    for (const auto& word : hostile) expected += word + '\0';
    EXPECT_EQ(ReadFile(scratch / "seen"), expected);
    EXPECT_FALSE(std::filesystem::exists(scratch / "pwned"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "pwned2"));
}

TEST(ProcessTest, StandardInputIsEmptySoNoPromptCanWait)
{
    ScratchFolder scratch;
    const auto outcome = RunAndWait({"/bin/sh", "-c", "read answer; echo \"got:$answer:$?\" >&2; exit 3"},
                                    {.stderrFile = scratch / "err", .extraEnvironment = {}});
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(outcome.exitStatus, 3);
    EXPECT_EQ(ReadFile(scratch / "err"), "got::1\n");
}

TEST(ProcessTest, ReportsTheTailOfStandardErrorWhenTheChildFails)
{
    const auto outcome = RunAndWait({"/bin/sh", "-c", "yes noise | head -c 100000 >&2; echo 'real reason' >&2; exit 1"});
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_LE(outcome.errorTail.size(), 1024u);
    EXPECT_TRUE(outcome.errorTail.ends_with("real reason"));

    const auto quiet = RunAndWait({"/bin/sh", "-c", "echo fine >&2"});
    EXPECT_EQ(quiet.exitStatus, 0);
    EXPECT_TRUE(quiet.errorTail.empty());
}

TEST(ProcessTest, PassesExtraEnvironmentOverTheCallersOwn)
{
    ScratchFolder scratch;
    test::ScopedEnvironment existing("VELMORA_TEST_VALUE", "old");
    const auto outcome = RunAndWait({"/bin/sh", "-c", "echo \"$VELMORA_TEST_VALUE $HOME_SEEN\" >&2"},
                                    {.stderrFile = scratch / "err",
                                     .extraEnvironment = {"VELMORA_TEST_VALUE=new", "HOME_SEEN=yes"}});
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(ReadFile(scratch / "err"), "new yes\n");
}

TEST(ProcessTest, AMissingProgramOrASignalIsReported)
{
    const auto missing = RunAndWait({"/no/such/program"});
    EXPECT_FALSE(missing.started);
    EXPECT_FALSE(missing.failure.empty());

    const auto killed = RunAndWait({"/bin/sh", "-c", "kill -TERM $$"});
    ASSERT_TRUE(killed.started);
    EXPECT_EQ(killed.exitStatus, 128 + SIGTERM);
}

}  // namespace
}  // namespace velmora::platform
