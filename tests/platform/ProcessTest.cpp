#include "ScratchFolder.h"
#include "process/Process.h"

#include <gtest/gtest.h>

namespace velmora::platform {
namespace {

using test::ReadFile;
using test::ScratchFolder;

TEST(ProcessTest, HandsHostileWordsOverVerbatimAndRunsNothingElse)
{
    ScratchFolder scratch;
    const std::vector<std::string> hostile{"a \"b\" $(touch " + (scratch / "pwned").string() + "); rm -f y.avi",
                                           "`touch " + (scratch / "pwned2").string() + "`", "clip\nwith newline.mp4",
                                           "ünïcödé ; | & > <"};
    std::vector<std::string> words{"/bin/sh", "-c", "printf '%s\\0' \"$@\" > \"$0\"", (scratch / "seen").string()};
    words.insert(words.end(), hostile.begin(), hostile.end());
    const auto outcome = RunAndWait(words);
    ASSERT_TRUE(outcome.started) << outcome.failure;
    EXPECT_EQ(outcome.exitStatus, 0);
    std::string expected;
    for (const auto& word : hostile) expected += word + '\0';
    EXPECT_EQ(ReadFile(scratch / "seen"), expected);
    EXPECT_FALSE(std::filesystem::exists(scratch / "pwned") || std::filesystem::exists(scratch / "pwned2"));
}

TEST(ProcessTest, TheChildGetsNoInputAndTheExtraEnvironmentOverTheCallersOwn)
{
    ScratchFolder scratch;
    test::ScopedEnvironment existing("VELMORA_TEST_VALUE", "old");
    const auto outcome =
        RunAndWait({"/bin/sh", "-c", "read answer; echo \"got:$answer:$? $VELMORA_TEST_VALUE $HOME_SEEN\" >&2; exit 3"},
                   {.stderrFile = scratch / "err", .extraEnvironment = {"VELMORA_TEST_VALUE=new", "HOME_SEEN=yes"}});
    ASSERT_TRUE(outcome.started);
    EXPECT_EQ(outcome.exitStatus, 3);
    EXPECT_EQ(ReadFile(scratch / "err"), "got::1 new yes\n");
}

TEST(ProcessTest, FailuresAreReportedWithTheTailOfStandardError)
{
    const auto failed = RunAndWait({"/bin/sh", "-c", "yes noise | head -c 100000 >&2; echo 'real reason' >&2; exit 1"});
    EXPECT_EQ(failed.exitStatus, 1);
    EXPECT_LE(failed.errorTail.size(), 1024u);
    EXPECT_TRUE(failed.errorTail.ends_with("real reason"));
    const auto quiet = RunAndWait({"/bin/sh", "-c", "echo fine >&2"});
    EXPECT_EQ(quiet.exitStatus, 0);
    EXPECT_TRUE(quiet.errorTail.empty());
    const auto missing = RunAndWait({"/no/such/program"});
    EXPECT_FALSE(missing.started || missing.failure.empty());
    const auto killed = RunAndWait({"/bin/sh", "-c", "kill -TERM $$"});
    EXPECT_EQ(killed.exitStatus, 128 + SIGTERM);
}

}  // namespace
}  // namespace velmora::platform
