#include "Media.h"
#include "ScratchFolder.h"
#include "process/Process.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using velmora::test::ReadFile;
using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

struct CliRun {
    int status;
    std::string said;   // standard error
};

class MediaToolCommandLineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        media = new ScratchFolder;
        ASSERT_TRUE(velmora::test::MakeClip(*media / "clip.avi", 0.5, 160, 120));
        ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "sine", "-t", "1", (*media / "tone.wav").string()}));
    }
    static void TearDownTestSuite()
    {
        delete media;
        media = nullptr;
    }

    // Runs lumetra with the words; the library logs its flow lines too (level 2).
    CliRun Lumetra(const std::vector<std::string>& arguments)
    {
        WriteFile(scratch / "velmora.conf", "LogLevel=2\n");
        std::vector<std::string> words{LUMETRA_CLI};
        words.insert(words.end(), arguments.begin(), arguments.end());
        velmora::platform::SpawnOptions options;
        options.stderrFile = scratch / "stderr.txt";
        options.extraEnvironment = {"VELMORA_CONF=" + (scratch / "velmora.conf").string(),
                                    "TMPDIR=" + scratch.path().string()};
        const auto outcome = velmora::platform::RunAndWait(words, options);
        return {outcome.exitStatus, ReadFile(scratch / "stderr.txt")};
    }

    // The lines lumetra itself wrote (the rest of standard error is the log's copy).
    static std::vector<std::string> Reasons(const std::string& said)
    {
        std::vector<std::string> reasons;
        std::istringstream lines(said);
        for (std::string line; std::getline(lines, line);)
            if (line.starts_with("lumetra: ")) reasons.push_back(line);
        return reasons;
    }

    static void ExpectOneReason(const CliRun& run, const std::string& part)
    {
        EXPECT_EQ(run.status, 1) << run.said;
        const auto reasons = Reasons(run.said);
        ASSERT_EQ(reasons.size(), 1u) << run.said;
        EXPECT_NE(reasons[0].find(part), std::string::npos) << reasons[0];
    }

    static inline ScratchFolder* media = nullptr;
    ScratchFolder scratch;
};

TEST_F(MediaToolCommandLineTest, WrongWordsGiveAReasonAndTheUsage)
{
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"thumbnail"},
             {"thumbnail", "in.avi"},
             {"thumbnail", "in.avi", "out.png", "--at"},
             {"thumbnail", "--size", "2x2", "in.avi", "out.png"},
             {"join", "--to", "mp4", "only.mpg"},
             {"join", "--to", "wmv", "a.mpg", "out.wmv"},
             {"join", "a.mpg", "b.mpg", "out.mp4"},
             {"join", "--to", "mp4", "a.mpg", std::string(250, 'o')},
             {"dvd-files"},
             {"dvd-files", "a.xml", "b.xml"},
             {"mp3-to-wav", "in.mp3"},
             {"wav-to-mp3", "--vb", "800", "in.wav", "out.mp3"},
             {"wav-to-mp3", "--ab", "lots", "in.wav", "out.mp3"}}) {
        const auto run = Lumetra(words);
        EXPECT_EQ(run.status, 2) << words[0];
        EXPECT_EQ(Reasons(run.said).size(), 1u) << run.said;
        EXPECT_NE(run.said.find("usage: lumetra"), std::string::npos) << run.said;
        EXPECT_NE(run.said.find("lumetra dvd-files AUTHORING.xml"), std::string::npos) << run.said;
    }
}

TEST_F(MediaToolCommandLineTest, ThumbnailWritesThePictureOrSaysWhyNot)
{
    const auto ok = Lumetra({"thumbnail", "--at", "0.2", *media / "clip.avi", scratch / "frame ü.png"});
    EXPECT_EQ(ok.status, 0) << ok.said;
    EXPECT_EQ(ReadFile(scratch / "frame ü.png").substr(1, 3), "PNG");

    ExpectOneReason(Lumetra({"thumbnail", *media / "tone.wav", scratch / "none.png"}), "has no picture at 0");
    ExpectOneReason(Lumetra({"thumbnail", "--at", "99", *media / "clip.avi", scratch / "none.png"}), "has no picture at 99");
    ExpectOneReason(Lumetra({"thumbnail", scratch / "absent.avi", scratch / "none.png"}), "is not a file");
    EXPECT_FALSE(std::filesystem::exists(scratch / "none.png"));
}

TEST_F(MediaToolCommandLineTest, JoinConvertsTheListedFilesIntoOne)
{
    const auto ok = Lumetra({"join", "--to", "avi", "--size", "80x60", *media / "clip.avi", *media / "clip.avi",
                             scratch / "both.avi"});
    EXPECT_EQ(ok.status, 0) << ok.said;
    EXPECT_TRUE(std::filesystem::exists(scratch / "both.avi"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "both.avi.joined.avi"));

    ExpectOneReason(Lumetra({"join", "--to", "mp4", *media / "clip.avi", scratch / "absent.avi", scratch / "x.mp4"}),
                    "absent.avi is not a file");
    WriteFile(scratch / "x.mp4.joined.avi", "someone's file");
    ExpectOneReason(Lumetra({"join", "--to", "mp4", *media / "clip.avi", scratch / "x.mp4"}), "is in the way");
    EXPECT_EQ(ReadFile(scratch / "x.mp4.joined.avi"), "someone's file");
    WriteFile(scratch / "junk.avi", "no video");
    ExpectOneReason(Lumetra({"join", "--to", "mp4", scratch / "junk.avi", scratch / "junk.mp4"}), "the join wrote no");
}

TEST_F(MediaToolCommandLineTest, DvdFilesAuthorsIntoTheDestFolderAgainAndAgain)
{
    ASSERT_TRUE(velmora::test::RunFfmpeg({"-i", (*media / "clip.avi").string(), "-acodec", "mp2", "-target",
                                          "pal-dvd", "-aspect", "4:3", (scratch / "clip.mpg").string()}));
    const auto disc = scratch / "my disc";
    WriteFile(scratch / "disc.xml", "<dvdauthor dest=\"" + disc.string() + "\" ><vmgm /><titleset><titles><pgc>"
                                    "<vob file=\"" + (scratch / "clip.mpg").string() +
                                    "\" /></pgc></titles></titleset></dvdauthor>");

    const auto first = Lumetra({"dvd-files", scratch / "disc.xml"});
    EXPECT_EQ(first.status, 0) << first.said;
    const auto again = Lumetra({"dvd-files", scratch / "disc.xml"});
    EXPECT_EQ(again.status, 0) << again.said;
    EXPECT_NE(again.said.find("Removed the earlier " + (disc / "VIDEO_TS").string()), std::string::npos) << again.said;
    EXPECT_FALSE(std::filesystem::exists(disc / "VIDEO_TS" / "VTS_02_0.IFO"));

    WriteFile(scratch / "nodest.xml", "<dvdauthor><vmgm /></dvdauthor>");
    ExpectOneReason(Lumetra({"dvd-files", scratch / "nodest.xml"}), "names no dest folder");
    WriteFile(scratch / "broken.xml", "<dvdauthor dest=\"" + (scratch / "broken").string() + "\"><titleset>");
    ExpectOneReason(Lumetra({"dvd-files", scratch / "broken.xml"}), "dvdauthor wrote no");
}

TEST_F(MediaToolCommandLineTest, Mp3AndWavConvertBothWays)
{
    const auto toMp3 = Lumetra({"wav-to-mp3", "--ab", "64", *media / "tone.wav", scratch / "tone $x.mp3"});
    EXPECT_EQ(toMp3.status, 0) << toMp3.said;
    const auto toWav = Lumetra({"mp3-to-wav", "--ar", "22050", scratch / "tone $x.mp3", scratch / "back.wav"});
    EXPECT_EQ(toWav.status, 0) << toWav.said;
    EXPECT_EQ(ReadFile(scratch / "back.wav").substr(0, 4), "RIFF");

    WriteFile(scratch / "junk.wav", "not audio");
    ExpectOneReason(Lumetra({"wav-to-mp3", scratch / "junk.wav", scratch / "junk.mp3"}), "the conversion wrote no");
    ExpectOneReason(Lumetra({"mp3-to-wav", scratch / "absent.mp3", scratch / "out.wav"}), "is not a file");
}

}  // namespace
