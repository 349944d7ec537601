#include "ScratchFolder.h"
#include "paths/ExecutablePath.h"
#include "paths/PathParts.h"
#include "paths/ToolLocator.h"
#include "files/FileDescriptor.h"
#include "process/Process.h"
#include "settings/Settings.h"
#include "temp/ScopedTempFolder.h"
#include "temp/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace velmora::platform {
namespace {

using namespace velmora::test;

mode_t ModeOf(const std::filesystem::path& path)
{
    struct stat info{};
    ::lstat(path.c_str(), &info);
    return info.st_mode & 0777;
}

std::filesystem::path Usual(const ScratchFolder& base, uid_t user = ::getuid())
{
    return base / ("velmora-" + std::to_string(user));
}

void MakeProgram(const std::filesystem::path& file, mode_t mode = 0755)
{
    WriteFile(file, "#!/bin/sh\n");
    ::chmod(file.c_str(), mode);
}

TEST(SettingsTest, NameValueLinesWithTheLastWinningTheDefaultForWhatIsMissingOrMalformedAndOnlyAPlainFilesStart)
{
    const auto settings = Settings::FromText("# machine settings\n  LogLevel = 4\r\nCddbServer=localhost:8880\n"
                                             "no equals sign here\n=value without a name\n   # indented comment\n"
                                             "UpdateServer=\nLast=6\nLast=7\nWord=four\nBig=99999999999\nPlus=+2\n");
    for (const auto& [name, value] : std::vector<std::pair<const char*, int>>{
             {"LogLevel", 4}, {"Last", 7}, {"Word", -1}, {"Big", -1}, {"Plus", 2}, {"UpdateServer", -1},
             {"Absent", -1}})
        EXPECT_EQ(settings.GetInt(name, -1), value) << name;
    EXPECT_EQ(settings.GetString("CddbServer", "gnudb.gnudb.org"), "localhost:8880");
    EXPECT_EQ(settings.Get("UpdateServer"), "");
    EXPECT_EQ(settings.GetString("Absent", "fallback"), "fallback");
    EXPECT_FALSE(settings.Get("no equals sign here") || settings.Get(""));

    // Only the beginning of a plain file is read: a device or a FIFO named as the file gives nothing.
    ScratchFolder scratch;
    WriteFile(scratch / "long.conf", "LogLevel=3\n#" + std::string(Settings::kSizeLimit, '-') + "\nCddbServer=late\n");
    const auto cut = Settings::FromFile(scratch / "long.conf");
    EXPECT_EQ(cut.GetInt("LogLevel", -1), 3);
    EXPECT_FALSE(cut.Get("CddbServer"));
    ASSERT_EQ(::mkfifo((scratch / "fifo").c_str(), 0600), 0);
    for (const auto& odd : {std::filesystem::path("/dev/zero"), scratch / "fifo"})
        EXPECT_EQ(Settings::FromFile(odd).GetInt("LogLevel", -1), -1) << odd;
}

TEST(PathPartsTest, SplitTheLastElementIntoTitleAndExtension)
{
    for (const auto& [path, parts] : std::vector<std::pair<std::string, std::string>>{
             {"/a/b/clip.tar.GZ", "clip.tar.GZ|clip.tar|.GZ|.gz"}, {"/a.d/README", "README|README||"},
             {"/home/u/.profile", ".profile|.profile||"}, {"/home/u/.config.old", ".config.old|.config|.old|.old"},
             {"dots/..", "..|..||"}, {"trailing.", "trailing.|trailing|.|."}, {"/a/folder/", "|||"},
             {"D:\\Track03.CDA", "Track03.CDA|Track03|.CDA|.cda"}, {"x\\y.wav", "x\\y.wav|x\\y|.wav|.wav"},
             {"", "|||"}}) {
        EXPECT_EQ(std::string(FileNamePart(path)) + "|" + std::string(TitlePart(path)) + "|" +
                      std::string(ExtensionPart(path)) + "|" + LowerExtension(path), parts) << path;
    }
}

TEST(ProcessTest, HostileWordsGoOverVerbatimWithNoInputAndTheExtraEnvironmentAndFailuresWithTheirReason)
{
    ScratchFolder scratch;
    const std::vector<std::string> hostile{"a \"b\" $(touch " + (scratch / "pwned").string() + "); rm -f y.avi",
                                           "`touch " + (scratch / "pwned2").string() + "`", "clip\nwith newline.mp4",
                                           "ünïcödé ; | & > <"};
    std::vector<std::string> words{"/bin/sh", "-c",
                                   "printf '%s\\0' \"$@\" > \"$0\"; read answer; echo \"$?:$VALUE\" >&2; exit 3",
                                   (scratch / "seen").string()};
    words.insert(words.end(), hostile.begin(), hostile.end());
    const ScopedEnvironment existing("VALUE", "old");
    const auto outcome = RunAndWait(words, {.stderrFile = scratch / "err", .extraEnvironment = {"VALUE=new"}});
    ASSERT_TRUE(outcome.started) << outcome.failure;
    EXPECT_EQ(outcome.exitStatus, 3);
    std::string expected;
    for (const auto& word : hostile) expected += word + '\0';
    EXPECT_EQ(ReadFile(scratch / "seen"), expected);
    EXPECT_EQ(ReadFile(scratch / "err"), "1:new\n");
    EXPECT_FALSE(std::filesystem::exists(scratch / "pwned") || std::filesystem::exists(scratch / "pwned2"));

    // Failures come with the tail of standard error.
    const auto failed = RunAndWait({"/bin/sh", "-c", "yes noise | head -c 100000 >&2; echo 'real reason' >&2; exit 1"});
    EXPECT_EQ(failed.exitStatus, 1);
    EXPECT_LE(failed.errorTail.size(), 1024u);
    EXPECT_TRUE(failed.errorTail.ends_with("real reason"));
    EXPECT_TRUE(RunAndWait({"/bin/sh", "-c", "echo fine >&2"}).errorTail.empty());
    const auto missing = RunAndWait({"/no/such/program"});
    EXPECT_FALSE(missing.started || missing.failure.empty());
    EXPECT_EQ(RunAndWait({"/bin/sh", "-c", "kill -TERM $$"}).exitStatus, 128 + SIGTERM);
}

TEST(ToolLocatorTest, ToolsBesideTheExecutableFirstThenPathInOrderForRunnableFilesOnly)
{
    ScratchFolder first, second;
    MakeProgram(first / "velmora-tool", 0644);   // not runnable
    MakeProgram(second / "velmora-tool");
    std::filesystem::create_directory(first / "velmora-dir");
    const ScopedEnvironment path("PATH", "relative/bin:" + first.path().string() + ":" + second.path().string());
    EXPECT_EQ(FindTool("velmora-tool"), second / "velmora-tool");
    for (const char* none : {"velmora-dir", "no-such-velmora-tool", "../velmora-tool"})
        EXPECT_TRUE(FindTool(none).empty()) << none;

    const auto beside = ExecutableFolder() / "velmora-tool";
    MakeProgram(beside);
    EXPECT_EQ(FindTool("velmora-tool"), beside);
    std::filesystem::remove(beside);

    // The state folder follows XDG, then HOME.
    {
        const ScopedEnvironment xdg("XDG_STATE_HOME", "/srv/state");
        EXPECT_EQ(UserStateFolder(), "/srv/state");
    }
    const ScopedEnvironment xdg("XDG_STATE_HOME", std::nullopt), home("HOME", "/home/someone");
    EXPECT_EQ(UserStateFolder(), "/home/someone/.local/state");
}

TEST(TempFolderTest, APrivateFolderUnderTmpdirIsMadeOnceScopedOnesGoWithTheirContentsAndUntrustedOnesAreRefused)
{
    ScratchFolder scratch, open, linked, strangers, elsewhere, runtime;
    const ScopedEnvironment tmpdir("TMPDIR", scratch.path().string());
    const ScopedEnvironment runtimeFolder("XDG_RUNTIME_DIR", runtime.path().string());
    WriteFile(runtime / "a file", "where a home folder would be");
    const ScopedEnvironment home("HOME", (runtime / "a file").string());
    const auto first = PrivateTempFolder();
    EXPECT_EQ(std::tuple(first.path, first.notice, ModeOf(first.path)), std::tuple(Usual(scratch), "", 0700u));
    EXPECT_EQ(PrivateTempFolder().path, first.path);

    std::filesystem::path made;
    {
        const ScopedTempFolder one("burn"), two("burn");
        made = one.Path();
        EXPECT_EQ(made.parent_path(), Usual(scratch));
        EXPECT_TRUE(made.filename().string().starts_with("burn-"));
        EXPECT_NE(two.Path(), made);
        EXPECT_EQ(std::tuple(ModeOf(made), one.Notice()), std::tuple(0700u, ""));
        std::filesystem::create_directory(made / "sub");
        WriteFile(made / "sub" / "track.wav", "converted");
    }
    EXPECT_FALSE(std::filesystem::exists(made));
    EXPECT_TRUE(std::filesystem::is_empty(Usual(scratch)));

    {
        const ScopedEnvironment nowhere("TMPDIR", (scratch / "no such folder").string());
        const ScopedEnvironment noRuntime("XDG_RUNTIME_DIR", (scratch / "no such folder").string());
        const ScopedTempFolder none("burn");
        EXPECT_TRUE(none.Path().empty());
        EXPECT_FALSE(none.Notice().empty());
    }

    // A folder open to others, a planted link or a folder of another user is refused; every
    // process of the user then shares one folder of the user's own.
    const uid_t me = ::getuid(), stranger = me + 4242;   // our own folder, asked for on behalf of another user
    std::filesystem::create_directory(Usual(open));
    ::chmod(Usual(open).c_str(), 0777);
    std::filesystem::create_directory_symlink(elsewhere.path(), Usual(linked));
    std::filesystem::create_directory(Usual(strangers, stranger));
    for (const auto& [base, user, reason] : {std::tuple(&open, me, "open to other users"),
                                             std::tuple(&linked, me, "symbolic link"),
                                             std::tuple(&strangers, stranger, "another user")}) {
        const auto chosen = PrivateTempFolderIn(base->path(), user);
        const auto expected = user == me ? runtime.path() : base->path();
        EXPECT_EQ(chosen.path.parent_path(), expected) << reason;
        EXPECT_NE(chosen.path, Usual(*base, user)) << reason;
        EXPECT_EQ(ModeOf(chosen.path), 0700u) << reason;
        EXPECT_NE(chosen.notice.find(reason), std::string::npos) << chosen.notice;
    }
    EXPECT_EQ(PrivateTempFolderIn(open.path(), me).path, PrivateTempFolderIn(linked.path(), me).path);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.path()));
}

TEST(ProcessTest, AChildIsHandedAFileAsDescriptor3AndEndedAfterItsTimeOutOrWhenCancelled)
{
    ScratchFolder scratch;
    WriteFile(scratch / "input", "what the child reads");
    const FileDescriptor input(::open((scratch / "input").c_str(), O_RDONLY | O_CLOEXEC));
    const auto read = RunAndWait({"/bin/sh", "-c", "cat /dev/fd/3 >&2"},
                                 {.inheritedAsDescriptor3 = input.get(), .keptErrorBytes = 9});
    EXPECT_EQ(std::tuple(read.exitStatus, read.errorText), std::tuple(0, "what the "));

    const auto started = std::chrono::steady_clock::now();
    const auto late = RunAndWait({"/bin/sleep", "30"}, {.timeout = std::chrono::milliseconds(300)});
    EXPECT_EQ(std::tuple(late.timedOut, late.exitStatus), std::tuple(true, 128 + SIGKILL));
    // A child that ignores the request to stop is killed after the grace time.
    std::thread canceller([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CancelRunningChildren();
    });
    const auto stubborn = RunAndWait({"/bin/sh", "-c", "trap '' TERM; exec sleep 30"});
    canceller.join();
    EXPECT_EQ(std::tuple(stubborn.cancelled, stubborn.timedOut), std::tuple(true, false));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_FALSE(RunAndWait({"/bin/true"}).cancelled);
}

}  // namespace
}  // namespace velmora::platform
