// lumetra as a program: exit codes, the one line it says when it fails, its standard output and
// one file of each kind it makes. What the files hold is tested where the library makes them.

#include "CdImage.h"
#include "LoopbackHttpServer.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "process/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

using namespace velmora::test;

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
        ASSERT_TRUE(MakeClip(*media / "clip.avi", 0.5, 160, 120) && MakeTone(*media / "tone.wav", 1));
        WriteFile(*media / "junk.avi", "not a video at all");
    }
    static void TearDownTestSuite() { delete media; }

    // lumetra in the scratch folder, run by the words of `limit` (e.g. prlimit) when given.
    CliRun Lumetra(std::vector<std::string> words, std::vector<std::string> limit = {})
    {
        // The shell only goes to the folder and sends the program's standard output to a file.
        limit.push_back(LUMETRA_CLI);
        words.insert(words.begin(), limit.begin(), limit.end());
        words.insert(words.begin(), {"/bin/sh", "-c", "cd \"$0\" && exec \"$@\" > stdout.txt", scratch.path().string()});
        const auto outcome = velmora::platform::RunAndWait(words, {scratch / "stderr.txt", {}});
        CliRun run{outcome.started ? outcome.exitStatus : -1, ReadFile(scratch / "stdout.txt"), {},
                   ReadFile(scratch / "stderr.txt")};
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

TEST_F(CommandLineTest, WrongWordsGiveTheUsageWithExitTwoAndTheLogSpeaksOnlyWhenAsked)
{
    for (const auto& words : std::vector<std::vector<std::string>>{{}, {"convert", "--to", "wmv", "a.avi", "b.wmv"}}) {
        const auto run = Lumetra(words);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.reasons.size(), 1u) << run.error;
        EXPECT_NE(run.error.find("usage: lumetra"), std::string::npos) << run.error;
    }
    const auto version = Lumetra({"--version"}), help = Lumetra({"-h"});
    EXPECT_EQ(std::tuple(version.status, version.out, help.status), std::tuple(0, "lumetra 1.2\n", 0));
    EXPECT_TRUE(help.out.starts_with("usage: lumetra")) << help.out;

    WriteFile(scratch / "velmora.conf", "LogLevel=4\n");
    const auto quiet = Lumetra({"probe", *media / "clip.avi"});
    EXPECT_EQ(std::tuple(quiet.status, quiet.error), std::tuple(0, ""));
    EXPECT_NE(quiet.out.find("width:           160"), std::string::npos) << quiet.out;
    EXPECT_FALSE(Lumetra({"-v", "probe", *media / "clip.avi"}).error.empty());
}

TEST_F(CommandLineTest, TheExitStatusFollowsTheLibrarysVerdictAndAFailureLeavesTheEarlierOutputAsItWas)
{
    std::filesystem::copy_file(*media / "clip.avi", scratch / "in.avi");
    std::filesystem::create_symlink("in.avi", scratch / "link.avi");
    std::filesystem::create_hard_link(scratch / "in.avi", scratch / "hard.avi");
    for (const char* same : {"in.avi", "./in.avi", "link.avi", "hard.avi"})
        ExpectRefusal({"convert", "--to", "avi", "in.avi", same}, "is the source itself");
    ExpectRefusal({"thumbnail", "in.avi", "./in.avi"}, "is the video itself");
    ExpectRefusal({"join", "--to", "avi", "in.avi", "link.avi", "hard.avi"}, "is one of the files to join");
    std::filesystem::create_directory(scratch / "folder.avi");
    ExpectRefusal({"convert", "--to", "avi", "in.avi", "folder.avi"}, "is a folder");
    WriteFile(scratch / "plain", "a file, not a folder");
    ExpectRefusal({"convert", "--to", "avi", "in.avi", "plain/out.avi"}, "cannot write into plain");

    // A name that starts with '-' is a file to the encoder, never an option.
    const auto dashed = Lumetra({"convert", "--to", "avi", "in.avi", "-report.avi"});
    EXPECT_EQ(std::tuple(dashed.status, dashed.out), std::tuple(0, "-report.avi\n")) << dashed.error;
    EXPECT_GT(std::filesystem::file_size(scratch / "-report.avi"), 0u);
    // A disk that fills up: the encoder fails, and the earlier file and nothing else is left.
    WriteFile(scratch / "out.mpg", "an earlier conversion");
    EXPECT_EQ(Lumetra({"convert", "--to", "mpg", "in.avi", "out.mpg"}, {"prlimit", "--fsize=20000"}).status, 1);
    EXPECT_EQ(ReadFile(scratch / "out.mpg"), "an earlier conversion");
    // Ended by a signal once the encoder writes: the encoder is stopped, and its unfinished file removed.
    ASSERT_TRUE(MakeClip(scratch / "long.avi", 30, 320, 240));
    const std::string interrupter =
        "\"$@\" & run=$!; until ls -A | grep -q '^[.]' || ! kill -0 $run; do sleep 0.05; done; kill -TERM $run; wait $run";
    const auto interrupted =
        Lumetra({"convert", "--to", "mpg", "long.avi", "out.mpg"}, {"/bin/sh", "-c", interrupter, "interrupter"});
    EXPECT_EQ(interrupted.status, 1) << interrupted.error;
    EXPECT_EQ(interrupted.reasons.back(), "lumetra: interrupted");
    EXPECT_EQ(ReadFile(scratch / "out.mpg"), "an earlier conversion");
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".") ||
                     entry.path().filename().string().starts_with("ffmpeg-"))
            << entry.path();
}

TEST_F(CommandLineTest, MediaCommandsPrintWhatTheyMadeOrSayWhyThereIsNothing)
{
    const auto clip = (*media / "clip.avi").string(), junk = (*media / "junk.avi").string();
    ExpectMade({"convert", "--to", "dvd", "--ab", "192", clip, scratch / "out.mpg"}, scratch / "out.mpg");
    ExpectRefusal({"convert", "--to", "mp4", scratch / "absent.avi", scratch / "out.mp4"}, "absent.avi is not a file");
    ExpectRefusal({"convert", "--to", "mp4", junk, scratch / "junk.mp4"}, "ffmpeg failed: ");
    ExpectRefusal({"probe", junk}, "junk.avi is not a media file");
    ExpectMade({"thumbnail", "--at", "0.2", clip, scratch / "frame ü.png"}, scratch / "frame ü.png");
    ExpectRefusal({"thumbnail", "--at", "99", clip, scratch / "none.png"}, "there is no picture at 99");
    ExpectMade({"join", "--to", "avi", "--size", "80x60", clip, clip, scratch / "both.avi"}, scratch / "both.avi");
    ExpectMade({"wav-to-mp3", "--ab", "64", *media / "tone.wav", scratch / "tone $x.mp3"}, scratch / "tone $x.mp3");
    ExpectMade({"mp3-to-wav", "--ar", "22050", scratch / "tone $x.mp3", scratch / "back.wav"}, scratch / "back.wav");
}

TEST_F(CommandLineTest, DvdFilesAuthorsIntoTheDestFolder)
{
    ASSERT_TRUE(RunFfmpeg({"-i", *media / "clip.avi", "-target", "pal-dvd", "-aspect", "4:3", scratch / "clip.mpg"}));
    const std::string titles = "><vmgm /><titleset><titles><pgc><vob file=\"" + (scratch / "clip.mpg").string() +
                               "\" /></pgc></titles></titleset></dvdauthor>";
    WriteFile(scratch / "disc.xml", "<dvdauthor dest=\"" + (scratch / "my disc").string() + "\"" + titles);
    ExpectMade({"dvd-files", scratch / "disc.xml"}, scratch / "my disc" / "VIDEO_TS");
    WriteFile(scratch / "nodest.xml", "<dvdauthor" + titles);
    ExpectRefusal({"dvd-files", scratch / "nodest.xml"}, "names no dest folder");
    WriteFile(scratch / "broken.xml", "<dvdauthor dest=\"" + (scratch / "broken").string() + "\"><titleset>");
    ExpectRefusal({"dvd-files", scratch / "broken.xml"}, "dvdauthor failed: ");
}

TEST_F(CommandLineTest, CdCommandsListRipAndLookUpTheDisc)
{
    const auto disc = WriteCdImage(scratch.path(), "disc", {{2, 440}, {3, 587.33}});
    const ScopedEnvironment drives("VELMORA_DRIVES", DriveList({{'K', disc.cue}, {'F', scratch.path()}}));
    const auto listed = Lumetra({"cd-tracks", "k:"});
    EXPECT_EQ(listed.status, 0) << listed.error;
    EXPECT_NE(listed.out.find("2      0:03     0 MB     K:\\Track02.cda"), std::string::npos) << listed.out;
    ExpectMade({"cd-rip", "K:2", scratch / "two.wav"}, scratch / "two.wav");
    ExpectRefusal({"cd-rip", "K:3", scratch / "three.wav"}, "there is no audio track K:3 (the disc has 2 tracks) (6023)");
    ExpectRefusal({"cd-tracks", "Q"}, "there is no drive Q:");

    // libcdio has words for every track shorter than its pregap, each time the image is opened:
    // they go to the log, and the table stands alone.
    {
        const auto full = WriteCdImage(scratch.path(), "full", std::vector<ImageTrack>(99, {1, 440}));
        const ScopedEnvironment fullDrive("VELMORA_DRIVES", DriveList({{'N', full.cue}}));
        const auto table = Lumetra({"cd-tracks", "N"});
        EXPECT_EQ(table.status, 0) << table.error;
        EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 100) << table.out.substr(0, 2000);
        EXPECT_TRUE(table.out.ends_with("99     0:01     0 MB     N:\\Track99.cda\n")) << table.out.substr(0, 2000);
    }

    const std::string queryAnswer = "211 close\r\nrock 0a000501 First / One\r\njazz 0a000502 Second / Two\r\n.\r\n";
    std::string entry = "210 jazz 0a000502 entry\r\nDTITLE=Second / Two\r\nTTITLE1=Closing\r\n.\r\n";
    LoopbackHttpServer server([&](const LoopbackHttpServer::Request& request) {
        return LoopbackHttpServer::Reply{request.body.starts_with("cmd=cddb+query") ? queryAnswer : entry};
    });
    WriteFile(scratch / "velmora.conf", "CddbServer=" + server.address() + "\n");
    const auto matches = Lumetra({"cddb", "K"}), chosen = Lumetra({"cddb", "K", "2"});
    EXPECT_EQ(matches.status, 0) << matches.error;
    EXPECT_EQ(matches.out, "1: rock 0a000501 First / One\n2: jazz 0a000502 Second / Two\n");
    EXPECT_EQ(chosen.status, 0) << chosen.error;
    EXPECT_NE(chosen.out.find("artist: Second\n 1. \n 2. Closing\n"), std::string::npos) << chosen.out;
    ExpectRefusal({"cddb", "K", "3"}, "there is no match 3");
    entry = "401 jazz 0a000502 No such CD entry in database.\r\n";
    ExpectRefusal({"cddb", "K", "2"}, "has no entry for this disc (401)");
}

TEST_F(CommandLineTest, RipNamesAndVerifiesEveryTrackAndExitsZeroOnlyWhenEachWasRippedExactly)
{
    const auto disc = WriteCdImage(scratch.path(), "disc", {{2, 440}, {3, 587.33}});
    const auto titled = WriteCdImage(scratch.path(), "titled", {{1, 440}}, {"Them", "Named", {"Only"}});
    const ScopedEnvironment drives("VELMORA_DRIVES", DriveList({{'K', disc.cue}, {'T', titled.cue}}));
    std::string queryAnswer = "200 rock 07000502 The Band / Live\r\n";
    LoopbackHttpServer server([&](const LoopbackHttpServer::Request& request) {
        if (request.method == "GET") return LoopbackHttpServer::Reply{"", 404};
        return LoopbackHttpServer::Reply{request.body.starts_with("cmd=cddb+query")
                                             ? queryAnswer
                                             : "210 rock 07000502 entry\r\nDTITLE=The Band / Live\r\nTTITLE0=Opening\r\n.\r\n"};
    });
    WriteFile(scratch / "velmora.conf", "CddbServer=" + server.address() + "\nAccurateRipServer=" + server.address() + "\n");
    std::filesystem::create_directory(scratch / "rips");
    const auto ripped = Lumetra({"rip", "K", "rips", "--wav"});
    EXPECT_EQ(ripped.status, 0) << ripped.error;
    EXPECT_EQ(ripped.out, "01  rips/01 - Opening.wav  CRC32 " + ripped.out.substr(ripped.out.find("CRC32 ") + 6, 8) +
                              "  not in the database\n02  rips/Track02.wav  CRC32 " +
                              ripped.out.substr(ripped.out.rfind("CRC32 ") + 6, 8) +
                              "  not in the database\nrip log: rips/rip.log\n");
    EXPECT_TRUE(ReadFile(scratch / "rips" / "Track02.wav").ends_with(disc.tracks[1]));
    EXPECT_NE(ReadFile(scratch / "rips" / "rip.log").find("Titles:             CDDB rock 07000502"), std::string::npos);

    // CD-TEXT names a disc without a word to the CDDB server.
    const std::size_t asked = server.requests().size();
    const auto named = Lumetra({"rip", "T", "rips", "--wav"});
    EXPECT_EQ(named.status, 0) << named.error;
    EXPECT_TRUE(named.out.starts_with("01  rips/01 - Only.wav")) << named.out;
    EXPECT_EQ(server.requests().size(), asked + 1);   // the database only
    EXPECT_EQ(server.requests().back().method, "GET");

    // Several matches leave the choice to the user; a folder that cannot take the files fails each track.
    queryAnswer = "211 close\r\nrock 07000501 First / One\r\njazz 07000502 Second / Two\r\n.\r\n";
    ExpectRefusal({"rip", "K", "rips"}, "the disc has 2 CDDB matches; choose one with --match N");
    ExpectRefusal({"rip", "K", "absent", "--match", "2"}, "the output folder absent is not a folder");
    // A folder whose path leaves no room for a track's name.
    std::filesystem::path deep = scratch.path();
    while (deep.string().size() < 250) deep /= "deeper";
    std::filesystem::create_directories(deep);
    const auto refused = Lumetra({"rip", "K", deep.string(), "--match", "1"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("01  failed: the output folder's path is too long for the track's file name"),
              std::string::npos)
        << refused.out;
    EXPECT_TRUE(std::filesystem::exists(deep / "rip.log"));
}

}  // namespace
