#include "CdImage.h"
#include "LoopbackHttpServer.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;

struct Run {
    int status;
    std::string said;    // standard output
    std::string error;   // standard error
};

// The front with both its outputs kept (the project's runner discards standard output).
Run Lumetra(const std::vector<std::string>& arguments, const ScratchFolder& scratch)
{
    std::vector<std::string> words{LUMETRA_CLI};
    words.insert(words.end(), arguments.begin(), arguments.end());
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
    if (spawned != 0 || ::waitpid(child, &status, 0) != child) return {-1, {}, "not started"};
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, velmora::test::ReadFile(out), velmora::test::ReadFile(err)};
}

class CdCommandLineTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    velmora::test::CdImage disc = velmora::test::WriteCdImage(scratch.path(), "disc", {{2, 440}, {3, 587.33}});
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
    ScopedEnvironment drives{"VELMORA_DRIVES", velmora::test::DriveList({{'K', disc.cue}, {'F', scratch.path()}})};
};

TEST_F(CdCommandLineTest, ListsTheTracksOfADrive)
{
    const auto run = Lumetra({"cd-tracks", "k:"}, scratch);
    EXPECT_EQ(run.status, 0) << run.error;
    EXPECT_NE(run.said.find("1      0:02     0 MB     K:\\Track01.cda"), std::string::npos) << run.said;
    EXPECT_NE(run.said.find("2      0:03     0 MB     K:\\Track02.cda"), std::string::npos) << run.said;

    for (const char* drive : {"Q", "F"}) {
        const auto empty = Lumetra({"cd-tracks", drive}, scratch);
        EXPECT_EQ(empty.status, 1) << drive;
        EXPECT_NE(empty.error.find("holds no audio tracks"), std::string::npos) << empty.error;
    }
}

TEST_F(CdCommandLineTest, RipsATrackToWavAndReportsFailures)
{
    const auto run = Lumetra({"cd-rip", "K:2", (scratch / "two.wav").string()}, scratch);
    EXPECT_EQ(run.status, 0) << run.error;
    EXPECT_TRUE(velmora::test::ReadFile(scratch / "two.wav").substr(44) == disc.tracks[1]);

    const auto missing = Lumetra({"cd-rip", "K:3", (scratch / "three.wav").string()}, scratch);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.error.find("(6023"), std::string::npos) << missing.error;
    EXPECT_FALSE(std::filesystem::exists(scratch / "three.wav"));
}

TEST_F(CdCommandLineTest, WrongWordsGiveTheUsage)
{
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"cd-tracks"}, {"cd-tracks", "KK"}, {"cd-tracks", "1"}, {"cd-rip", "K:2"},
             {"cd-rip", "K:2", "out.ogg"}, {"cd-rip", "K2", "out.wav"}, {"cd-rip", "K:", "out.wav"}}) {
        const auto run = Lumetra(words, scratch);
        EXPECT_EQ(run.status, 2) << words.size();
        EXPECT_NE(run.error.find("usage: lumetra"), std::string::npos) << run.error;
    }
}

}  // namespace

namespace {

TEST_F(CdCommandLineTest, LooksTheDiscUpAndPrintsTheChosenEntry)
{
    std::string queryAnswer = "211 close\r\nrock 1 First / One\r\njazz 2 Second / Two\r\n.\r\n";
    velmora::test::LoopbackHttpServer server([&](const velmora::test::LoopbackHttpServer::Request& request) {
        if (request.body.starts_with("cmd=cddb+query")) return velmora::test::LoopbackHttpServer::Reply{queryAnswer};
        return velmora::test::LoopbackHttpServer::Reply{
            "210 jazz 2 entry\r\nDTITLE=Second / Two\r\nTTITLE0=Opening\r\nTTITLE1=Closing\r\n.\r\n"};
    });
    velmora::test::WriteFile(scratch / "velmora.conf", "CddbServer=" + server.address() + "\n");
    ScopedEnvironment conf("VELMORA_CONF", (scratch / "velmora.conf").string());

    const auto listed = Lumetra({"cddb", "K"}, scratch);
    EXPECT_EQ(listed.status, 0) << listed.error;
    EXPECT_EQ(listed.said, "1: rock 1 First / One\n2: jazz 2 Second / Two\n");

    const auto chosen = Lumetra({"cddb", "K", "2"}, scratch);
    EXPECT_EQ(chosen.status, 0) << chosen.error;
    EXPECT_NE(chosen.said.find("artist: Second\n 1. Opening\n 2. Closing\n"), std::string::npos) << chosen.said;
    EXPECT_NE(server.requests().back().body.find("cmd=cddb+read+jazz+2&"), std::string::npos);

    EXPECT_EQ(Lumetra({"cddb", "K", "3"}, scratch).status, 1);
    queryAnswer = "202 No match\r\n";
    const auto none = Lumetra({"cddb", "K"}, scratch);
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.error.find("Query unsuccessful: 202"), std::string::npos) << none.error;
}

}  // namespace
