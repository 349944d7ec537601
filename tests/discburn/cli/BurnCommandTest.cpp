// velmora-burn as a program: its words and exit codes, what it says, and one burn of each kind on
// pseudo recorders. What the discs hold is tested where the engine writes them.

#include "BurnTestSupport.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "image/IsoCheck.h"
#include "process/Process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

namespace velmora::discburn {
namespace {

using namespace test;
using namespace velmora::test;

struct CliRun {
    int status;
    std::string out, error;
};

class BurnCommandTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(scratch / "discs"); }

    CliRun Burn(std::vector<std::string> words)
    {
        // The shell only sends the program's standard output to a file.
        const std::string out = (scratch / "out.txt").string();
        words.insert(words.begin(), {"/bin/sh", "-c", "exec \"$@\" > \"$0\"", out, VELMORA_BURN_CLI});
        const auto outcome = platform::RunAndWait(words, {scratch / "error.txt", {}});
        return {outcome.started ? outcome.exitStatus : -1, ReadFile(scratch / "out.txt"), ReadFile(scratch / "error.txt")};
    }
    void ExpectFailure(const std::vector<std::string>& words, const std::string& reason)
    {
        const CliRun run = Burn(words);
        EXPECT_EQ(run.status, 1) << run.error;
        EXPECT_NE(run.error.find("velmora-burn: " + reason), std::string::npos) << run.error;
    }
    std::string Recorder(const std::string& kind, const std::string& name) const
    {
        return kind + ":" + (scratch / "discs" / name).string();
    }

    ScratchFolder scratch;
};

TEST_F(BurnCommandTest, WrongWordsExit2WithTheUsageAndHelpAndVersionExit0)
{
    EXPECT_EQ(Burn({"--version"}).out, "velmora-burn 1.2\n");
    const CliRun help = Burn({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("usage: velmora-burn recorders\n"));
    const std::string iso = Recorder("stdio", "disc.iso");
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {}, {"burn"}, {"recorders", "E:"}, {"iso", iso}, {"audio", iso}, {"data", "sr0", "file"},
             {"data", "stdio:relative.iso", "file"}, {"data", iso, "file", "--speed"}, {"data", iso, "file", "--volume"},
             {"copy", "12", iso}, {"iso", iso, "a.iso", "--volume", "NAME"}}) {
        const CliRun run = Burn(words);
        EXPECT_EQ(run.status, 2) << (words.empty() ? "" : words[0]) << run.error;
        EXPECT_NE(run.error.find("\nusage: velmora-burn"), std::string::npos) << run.error;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "discs/disc.iso"));
}

TEST_F(BurnCommandTest, DataDiscsAndIsoImagesAreBurntVerifiedAndRefusedOnAWrittenDisc)
{
    const ScopedEnvironment none("VELMORA_RECORDERS", "");
    ExpectFailure({"recorders"}, "There were no writable devices detected!");

    std::filesystem::create_directory(scratch / "Photos");
    WriteFile(scratch / "Photos/beach.jpg", std::string(300000, 'b'));
    WriteFile(scratch / "notes.txt", "to read");
    const std::string disc = Recorder("stdio", "data.iso");
    const CliRun run = Burn({"data", disc, (scratch / "Photos").string(), (scratch / "notes.txt").string(), "--volume",
                          "HOLIDAY", "--verify"});
    EXPECT_EQ(run.status, 0) << run.error;
    EXPECT_EQ(run.out, "Burn completed and verified!\n");
    for (const char* said : {"Creating File System...", "MB written", "Verifying... "})
        EXPECT_NE(run.error.find(said), std::string::npos) << said << " in " << run.error;
    const auto image = ReadIsoImage(scratch / "discs/data.iso", true);
    EXPECT_EQ(image.volumeId, "HOLIDAY");
    EXPECT_EQ(image.contents.at("Photos/beach.jpg").size(), 300000u);
    ExpectFailure({"data", disc, (scratch / "notes.txt").string()}, "Media is not Blank.");
    ExpectFailure({"data", Recorder("stdio", "other.iso"), (scratch / "missing").string()}, "");

    EXPECT_EQ(Burn({"iso", Recorder("stdio", "copy.iso"), (scratch / "discs/data.iso").string(), "--verify"}).status, 0);
    EXPECT_TRUE(ReadFile(scratch / "discs/copy.iso") == ReadFile(scratch / "discs/data.iso"));
    ExpectFailure({"iso", Recorder("stdio", "copy2.iso"), (scratch / "notes.txt").string()}, "not an ISO 9660 image");
    EXPECT_FALSE(std::filesystem::exists(scratch / "discs/copy2.iso") || std::filesystem::exists(scratch / "discs/other.iso"));
}

TEST_F(BurnCommandTest, AnAudioCdGoesToTheRecorderOfItsLetterWithItsTextAndADataDiscIsCopied)
{
    const auto cue = scratch / "discs/music.cue";
    const ScopedEnvironment recorders("VELMORA_RECORDERS", Recorder("stdio", "data.iso") + ";cue:" + cue.string());
    const ScopedEnvironment drives("VELMORA_DRIVES", "R=" + cue.string());
    const CliRun listed = Burn({"recorders"});
    EXPECT_EQ(listed.status, 0);
    EXPECT_NE(listed.out.find("R:\\          cue:" + cue.string() + "\n"), std::string::npos) << listed.out;

    WriteFile(scratch / "Opening.wav", WaveFile(TonePcm(44100 * 2, 440), 2, 44100));
    WriteFile(scratch / "mono.wav", WaveFile(std::string(44100 * 2, '\1'), 1, 44100));
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=660:duration=2", "-metadata", "title=Tide", "-metadata",
                           "artist=Ana", "-metadata", "album=Coast", (scratch / "tide.mp3").string()}));
    ExpectFailure({"audio", "R:", (scratch / "Opening.wav").string(), (scratch / "mono.wav").string()},
                  "nothing was written: " + (scratch / "mono.wav").string() + ": it is not CD audio");
    EXPECT_FALSE(std::filesystem::exists(cue));
    const CliRun audio = Burn({"audio", "r", (scratch / "Opening.wav").string(), (scratch / "tide.mp3").string(), "--verify"});
    EXPECT_EQ(audio.status, 0) << audio.error;
    EXPECT_NE(audio.error.find("Writing track 2 of 2..."), std::string::npos) << audio.error;
    EXPECT_EQ(CdTextOfImage(cue), (std::vector<std::string>{"Coast / Ana", "Opening / ", "Tide / Ana"}));
    EXPECT_EQ(RipImage(cue).size(), 2u);
    ExpectFailure({"audio", "S:", (scratch / "Opening.wav").string()}, "no recorder is drive S:\\");


    // Copies: a data disc through the image of its track, an audio CD through a rip of its tracks.
    std::filesystem::create_directories(scratch / "disc/Docs");
    WriteFile(scratch / "disc/Docs/manual.txt", "read me");
    const ScopedEnvironment copied("VELMORA_DRIVES", DriveList({{'E', scratch / "disc"}, {'F', cue}, {'G', scratch / "discs"}}));
    EXPECT_EQ(Burn({"copy", "E", Recorder("stdio", "copy.iso"), "--verify"}).status, 0);
    EXPECT_EQ(ReadIsoImage(scratch / "discs/copy.iso", true).contents.at("Docs/manual.txt"), "read me");
    const CliRun audioCopy = Burn({"copy", "F:", "cue:" + (scratch / "copy.cue").string(), "--verify"});
    EXPECT_EQ(audioCopy.status, 0) << audioCopy.error;
    EXPECT_NE(audioCopy.error.find("Reading track 2 of 2..."), std::string::npos) << audioCopy.error;
    EXPECT_TRUE(RipImage(scratch / "copy.cue") == RipImage(cue));
    EXPECT_EQ(CdTextOfImage(scratch / "copy.cue"), CdTextOfImage(cue));
    ExpectFailure({"copy", "F:", Recorder("stdio", "audio.iso")}, "Recorder not supported");
    std::filesystem::create_directory(scratch / "blank");
    const ScopedEnvironment blank("VELMORA_DRIVES", "H=" + (scratch / "blank").string());
    ExpectFailure({"copy", "H", Recorder("stdio", "nothing.iso")}, "drive H:\\ holds no disc to copy");
    EXPECT_FALSE(std::filesystem::exists(scratch / "discs/audio.iso") || std::filesystem::exists(scratch / "discs/nothing.iso"));
}

TEST_F(BurnCommandTest, ATerminationDuringAWriteStopsItWithExitOneAndLeavesNoPartialDiscAndASecondEndsItAtOnce)
{
    // Sparse: a long write from a file that takes no room.
    std::ofstream(scratch / "large.bin").close();
    std::filesystem::resize_file(scratch / "large.bin", std::uint64_t{3} << 30);
    // Once the write's hidden file shows, the shell ends the burn it started, by its id.
    const std::string discs = (scratch / "discs").string();
    const auto burnEndedBy = [&](const std::string& kills) {
        return platform::RunAndWait(
                   {"/bin/sh", "-c",
                    "\"$@\" & burn=$!; until [ -n \"$(ls -A \"$0\")\" ] || ! kill -0 $burn; do sleep 0.05; done; " +
                        kills + " wait $burn",
                    discs, VELMORA_BURN_CLI, "data", "stdio:" + discs + "/data.iso", (scratch / "large.bin").string()},
                   {scratch / "error.txt", {}})
            .exitStatus;
    };
    EXPECT_EQ(burnEndedBy("kill -TERM $burn;"), 1);
    const std::string error = ReadFile(scratch / "error.txt");
    EXPECT_NE(error.find("velmora-burn: User Canceled!"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::is_empty(scratch / "discs"));

    EXPECT_EQ(burnEndedBy("kill -TERM $burn; sleep 0.02; kill -TERM $burn;"), 128 + SIGTERM);
}

}  // namespace
}  // namespace velmora::discburn
