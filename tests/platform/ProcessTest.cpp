#include "ScratchFolder.h"
#include "files/FileDescriptor.h"
#include "process/Process.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <thread>

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

TEST(ProcessTest, AChildIsHandedAFileAsDescriptor3AndItsErrorsAreKeptWhole)
{
    ScratchFolder scratch;
    test::WriteFile(scratch / "input", "what the child reads");
    const FileDescriptor input(::open((scratch / "input").c_str(), O_RDONLY | O_CLOEXEC));
    const auto outcome = RunAndWait({"/bin/sh", "-c", "cat /dev/fd/3 >&2"},
                                    {.inheritedAsDescriptor3 = input.get(), .keptErrorBytes = 9});
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(outcome.errorText, "what the ");
}

TEST(ProcessTest, AChildIsEndedAfterItsTimeOutOrWhenCancelled)
{
    const auto started = std::chrono::steady_clock::now();
    const auto late = RunAndWait({"/bin/sleep", "30"}, {.timeout = std::chrono::milliseconds(300)});
    EXPECT_TRUE(late.timedOut);
    EXPECT_EQ(late.exitStatus, 128 + SIGKILL);

    // A child that ignores the request to stop is killed after the grace time.
    std::thread canceller([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CancelRunningChildren();
    });
    const auto stubborn = RunAndWait({"/bin/sh", "-c", "trap '' TERM; exec sleep 30"});
    canceller.join();
    EXPECT_TRUE(stubborn.cancelled);
    EXPECT_FALSE(stubborn.timedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_FALSE(RunAndWait({"/bin/true"}).cancelled);
}

}  // namespace
}  // namespace velmora::platform
