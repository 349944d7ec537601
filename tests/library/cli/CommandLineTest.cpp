// lumetra as a program: exit codes, the one line it says when it fails, and the files it makes.
// What the files hold is tested where the library makes them.

#include "CdImage.h"
#include "LoopbackHttpServer.h"
#include "Lumetra.h"
#include "Media.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>

extern char** environ;

namespace {

using velmora::test::ReadFile;
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

struct CliRun {
    int status;
    std::string out;
    std::vector<std::string> reasons;   // lumetra's own lines on standard error (the rest is the log's copy)
    std::string error;
};

class CommandLineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        media = new ScratchFolder;
        ASSERT_TRUE(velmora::test::MakeClip(*media / "clip.avi", 0.5, 160, 120));
        ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "sine", "-t", "1", (*media / "tone.wav").string()}));
        ASSERT_TRUE(velmora::test::RunFfmpeg({"-i", (*media / "clip.avi").string(), "-target", "pal-dvd", "-aspect", "4:3",
                                              (*media / "clip.mpg").string()}));
        WriteFile(*media / "junk.avi", "not a video at all");
    }
    static void TearDownTestSuite() { delete media; }

    CliRun Lumetra(std::vector<std::string> words)
    {
        words.insert(words.begin(), LUMETRA_CLI);
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        const auto out = scratch / "stdout.txt", err = scratch / "stderr.txt";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t child = 0;
        const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        if (spawned != 0 || ::waitpid(child, &status, 0) != child) return {-1, {}, {}, "not started"};
        CliRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), {}, ReadFile(err)};
        std::istringstream lines(run.error);
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with("lumetra: ")) run.reasons.push_back(line);
        return run;
    }

    // Exit 1 with one line saying why.
    void ExpectRefusal(const std::vector<std::string>& words, const std::string& reason)
    {
        const auto run = Lumetra(words);
        EXPECT_EQ(run.status, 1) << words[0] << run.error;
        ASSERT_EQ(run.reasons.size(), 1u) << run.error;
        EXPECT_NE(run.reasons[0].find(reason), std::string::npos) << run.reasons[0];
    }
    // Exit 0, printing the file made, which is there and not empty.
    void ExpectMade(const std::vector<std::string>& words, const std::filesystem::path& made)
    {
        const auto run = Lumetra(words);
        EXPECT_EQ(run.status, 0) << words[0] << run.error;
        EXPECT_EQ(run.out, made.string() + "\n");
        EXPECT_FALSE(std::filesystem::is_empty(made)) << made;
    }

    static inline ScratchFolder* media = nullptr;
    ScratchFolder scratch;
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
    ScopedEnvironment conf{"VELMORA_CONF", (scratch / "velmora.conf").string()};
};

TEST_F(CommandLineTest, WrongWordsGiveAReasonAndTheUsageWithExitTwo)
{
    for (const auto& words : std::vector<std::vector<std::string>>{{}, {"convert", "--to", "wmv", "in.avi", "out.wmv"}}) {
        const auto run = Lumetra(words);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.reasons.size(), 1u) << run.error;
        EXPECT_NE(run.error.find("usage: lumetra"), std::string::npos) << run.error;
    }
}

TEST_F(CommandLineTest, HelpAndVersionAnswerOnStandardOutputAndTheLogSpeaksOnlyWhenAsked)
{
    const auto version = Lumetra({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "lumetra 1.2\n");
    const auto help = Lumetra({"-h"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("usage: lumetra")) << help.out;

    const std::string clip = (*media / "clip.avi").string();
    const auto quiet = Lumetra({"probe", clip});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.error, "");
    EXPECT_NE(quiet.out.find("width:           160"), std::string::npos) << quiet.out;
    WriteFile(scratch / "velmora.conf", "LogLevel=4\n");
    const auto verbose = Lumetra({"-v", "probe", clip});
    EXPECT_EQ(verbose.out, quiet.out);
    EXPECT_NE(verbose.error.find("Entering GetDefaultPara"), std::string::npos) << verbose.error;
}

TEST_F(CommandLineTest, MediaCommandsPrintWhatTheyMadeOrSayWhyThereIsNothing)
{
    const auto clip = (*media / "clip.avi").string(), junk = (*media / "junk.avi").string();
    ExpectMade({"convert", "--to", "dvd", "--ab", "192", clip, scratch / "out.mpg"}, scratch / "out.mpg");
    ExpectRefusal({"convert", "--to", "mp4", scratch / "absent.avi", scratch / "out.mp4"}, "is not a file");
    ExpectRefusal({"convert", "--to", "mp4", junk, scratch / "junk.mp4"}, "the conversion wrote no");
    ExpectRefusal({"probe", junk}, "no media facts");
    EXPECT_EQ(Lumetra({"probe", clip}).status, 0);

    ExpectMade({"thumbnail", "--at", "0.2", clip, scratch / "frame ü.png"}, scratch / "frame ü.png");
    ExpectRefusal({"thumbnail", *media / "tone.wav", scratch / "none.png"}, "has no picture at 0");
    ExpectRefusal({"thumbnail", "--at", "99", clip, scratch / "none.png"}, "has no picture at 99");
    EXPECT_FALSE(std::filesystem::exists(scratch / "none.png"));

    ExpectMade({"join", "--to", "avi", "--size", "80x60", clip, clip, scratch / "both.avi"}, scratch / "both.avi");
    EXPECT_FALSE(std::filesystem::exists(scratch / "both.avi.joined.avi"));
    ExpectRefusal({"join", "--to", "mp4", clip, scratch / "absent.avi", scratch / "x.mp4"}, "absent.avi is not a file");
    WriteFile(scratch / "x.mp4.joined.avi", "someone's file");
    ExpectRefusal({"join", "--to", "mp4", clip, scratch / "x.mp4"}, "is in the way");
    EXPECT_EQ(ReadFile(scratch / "x.mp4.joined.avi"), "someone's file");
    ExpectRefusal({"join", "--to", "mp4", junk, scratch / "junk.mp4"}, "the join wrote no");

    ExpectMade({"wav-to-mp3", "--ab", "64", *media / "tone.wav", scratch / "tone $x.mp3"}, scratch / "tone $x.mp3");
    ExpectMade({"mp3-to-wav", "--ar", "22050", scratch / "tone $x.mp3", scratch / "back.wav"}, scratch / "back.wav");
    ExpectRefusal({"wav-to-mp3", junk, scratch / "junk.mp3"}, "the conversion wrote no");
    ExpectRefusal({"mp3-to-wav", scratch / "absent.mp3", scratch / "out.wav"}, "is not a file");
}

// Authoring files whose dest is written in ways a loose reading gets wrong: the command authors into
// the folder the library names, and dvdauthor writes there too.
TEST_F(CommandLineTest, DvdFilesAuthorsWhereTheLibraryAndDvdauthorReadTheDest)
{
    WriteFile(scratch / "velmora.conf", "LogLevel=2\n");
    const std::string s = scratch.path().string();
    const std::string vob = "<vmgm /><titleset><titles><pgc><vob file=\"" + (*media / "clip.mpg").string() +
                            "\" /></pgc></titles></titleset></dvdauthor>";
    for (const auto& [root, dest] : std::vector<std::pair<std::string, std::string>>{
             {"<dvdauthor dest=\"" + s + "/my disc\">", s + "/my disc"},
             {"<dvdauthor dest='" + s + "/say \"hi\"'>", s + "/say \"hi\""},
             {"<dvdauthor dest=\"" + s + "/a &amp; b &lt;c&gt; &#233;&#x41;\">", s + "/a & b <c> \xC3\xA9" "A"},
             {"<dvdauthor jumppad=\"yes\"\n  dest = '" + s + "/later'>", s + "/later"},
             {"<dvdauthor provider=\"dest='/wrong'\" dest=\"" + s + "/right\">", s + "/right"}}) {
        WriteFile(scratch / "disc.xml", root + vob);
        char named[512] = "";
        EXPECT_EQ(GetDVDFilesFolder((scratch / "disc.xml").c_str(), named, sizeof named), dest.size());
        EXPECT_EQ(named, dest);
        ExpectMade({"dvd-files", scratch / "disc.xml"}, std::filesystem::path(dest) / "VIDEO_TS");
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(dest) / "VIDEO_TS" / "VIDEO_TS.IFO")) << dest;
    }
    // Again into the same folder: the earlier disc goes first.
    const auto again = Lumetra({"-v", "dvd-files", scratch / "disc.xml"});
    EXPECT_EQ(again.status, 0) << again.error;
    EXPECT_NE(again.error.find("Removed the earlier " + s + "/right/VIDEO_TS"), std::string::npos) << again.error;

    WriteFile(scratch / "nodest.xml", "<dvdauthor>" + vob);
    EXPECT_EQ(GetDVDFilesFolder((scratch / "nodest.xml").c_str(), nullptr, 0), 0u);
    ExpectRefusal({"dvd-files", scratch / "nodest.xml"}, "names no dest folder");
    WriteFile(scratch / "broken.xml", "<dvdauthor dest=\"" + s + "/broken\"><titleset>");
    ExpectRefusal({"dvd-files", scratch / "broken.xml"}, "dvdauthor wrote no");
}

TEST_F(CommandLineTest, CdCommandsListRipAndLookUpTheDisc)
{
    const auto disc = velmora::test::WriteCdImage(scratch.path(), "disc", {{2, 440}, {3, 587.33}});
    ScopedEnvironment drives("VELMORA_DRIVES", velmora::test::DriveList({{'K', disc.cue}, {'F', scratch.path()}}));
    const auto listed = Lumetra({"cd-tracks", "k:"});
    EXPECT_EQ(listed.status, 0) << listed.error;
    EXPECT_NE(listed.out.find("1      0:02     0 MB     K:\\Track01.cda\n2      0:03     0 MB     K:\\Track02.cda"),
              std::string::npos) << listed.out;
    ExpectRefusal({"cd-tracks", "Q"}, "holds no audio tracks");
    ExpectRefusal({"cd-tracks", "F"}, "holds no audio tracks");
    ExpectMade({"cd-rip", "K:2", scratch / "two.wav"}, scratch / "two.wav");
    ExpectRefusal({"cd-rip", "K:3", scratch / "three.wav"}, "(6023");
    EXPECT_FALSE(std::filesystem::exists(scratch / "three.wav"));

    std::string queryAnswer = "211 close\r\nrock 1 First / One\r\njazz 2 Second / Two\r\n.\r\n";
    velmora::test::LoopbackHttpServer server([&](const velmora::test::LoopbackHttpServer::Request& request) {
        if (request.body.starts_with("cmd=cddb+query")) return velmora::test::LoopbackHttpServer::Reply{queryAnswer};
        return velmora::test::LoopbackHttpServer::Reply{
            "210 jazz 2 entry\r\nDTITLE=Second / Two\r\nTTITLE0=Opening\r\nTTITLE1=Closing\r\n.\r\n"};
    });
    WriteFile(scratch / "velmora.conf", "CddbServer=" + server.address() + "\n");
    const auto matches = Lumetra({"cddb", "K"});
    EXPECT_EQ(matches.status, 0) << matches.error;
    EXPECT_EQ(matches.out, "1: rock 1 First / One\n2: jazz 2 Second / Two\n");
    const auto chosen = Lumetra({"cddb", "K", "2"});
    EXPECT_EQ(chosen.status, 0) << chosen.error;
    EXPECT_NE(chosen.out.find("artist: Second\n 1. Opening\n 2. Closing\n"), std::string::npos) << chosen.out;
    EXPECT_NE(server.requests().back().body.find("cmd=cddb+read+jazz+2&"), std::string::npos);
    ExpectRefusal({"cddb", "K", "3"}, "there is no match 3");
    queryAnswer = "202 No match\r\n";
    const auto none = Lumetra({"cddb", "K"});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.error.find("Query unsuccessful: 202"), std::string::npos) << none.error;
}

}  // namespace
