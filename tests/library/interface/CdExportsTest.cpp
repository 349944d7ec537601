// The audio-CD and CDDB exports through dlopen, on CD images the tests write and a loopback CDDB server.

#include "CdImage.h"
#include "LoopbackHttpServer.h"
#include "LumetraLibrary.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "drives/DriveTable.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using MediaLibrary::Header::CD_TEXT_INFO;
using MediaLibrary::Header::MEDIACONVERSIONINFO;
using velmora::test::LoopbackHttpServer;
using velmora::test::ReadFile;
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;

// Discs of tones of 4, 6 and 3 s; of one 2 s track; of a short tone and 183 s of silence; a data folder.
class CdExportsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        discs = new ScratchFolder;
        tones = new velmora::test::CdImage(velmora::test::WriteCdImage(discs->path(), "tones", {{4, 440}, {6, 660}, {3, 880}}));
        single = new velmora::test::CdImage(velmora::test::WriteCdImage(discs->path(), "single", {{2, 523.25}}));
        velmora::test::WriteCdImage(discs->path(), "silence", {{1, 300}, {183, 0}});
    }
    static void TearDownTestSuite()
    {
        delete tones;
        delete single;
        delete discs;
    }

    static int TextInfo(char drive, CD_TEXT_INFO* tracks, unsigned& count)
    {
        return library.Bind<Lumetra::GetCdTextInfoFn>("GET_CD_TEXT_INFO")(drive, tracks, &count);
    }
    // The records the window makes: one per .cda file of the root, its name in szTitle.
    static std::vector<CD_TEXT_INFO> RecordsFor(char drive)
    {
        std::vector<CD_TEXT_INFO> records;
        for (const auto& name : velmora::platform::DriveTable::Load().FindFiles(std::string{drive, ':', '\\', '*'} + ".cda"))
            std::strcpy(records.emplace_back().szTitle, name.c_str());
        return records;
    }
    static int Rip(const std::string& source, const std::filesystem::path& output, int format = 1)
    {
        MEDIACONVERSIONINFO request;
        std::strncpy(request.szSourceFile, source.c_str(), sizeof request.szSourceFile - 1);
        std::strncpy(request.szOutputFile, output.c_str(), sizeof request.szOutputFile - 1);
        request.nOutputFormat = format;
        return library.Bind<Lumetra::ConvertFn>("Convert_CD_TO_MP3")(request);
    }
    std::filesystem::path RippedWav() const { return scratch / ("velmora-" + std::to_string(::getuid())) / "temp_xyz_media.wav"; }

    static inline const velmora::test::LumetraLibrary& library = velmora::test::LumetraLibrary::Instance();
    static inline ScratchFolder* discs = nullptr;
    static inline velmora::test::CdImage* tones = nullptr;
    static inline velmora::test::CdImage* single = nullptr;
    ScratchFolder scratch;
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
    ScopedEnvironment drives{velmora::platform::DriveTable::kVariable,
                             velmora::test::DriveList({{'D', tones->cue}, {'E', single->cue}, {'S', *discs / "silence.cue"},
                                                       {'M', *discs / "missing.cue"}, {'F', discs->path()}})};
};

TEST_F(CdExportsTest, TheTrackListComesInTwoCallsAndNeverPastTheArray)
{
    std::vector<CD_TEXT_INFO> records(3);
    std::memset(static_cast<void*>(records.data()), 0x5A, records.size() * sizeof(CD_TEXT_INFO));
    const auto before = records;
    unsigned count = 2;
    EXPECT_EQ(TextInfo('D', records.data(), count), 6000);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(std::memcmp(records.data(), before.data(), records.size() * sizeof(CD_TEXT_INFO)), 0);
    count = 0;
    EXPECT_EQ(TextInfo('D', nullptr, count), 6000);
    EXPECT_EQ(count, 3u);

    records = RecordsFor('D');
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(TextInfo('D', records.data(), count), 0);
    EXPECT_EQ(count, 3u);
    const char* lengths[] = {"0:04", "0:06", "0:03"};
    const char* sizes[] = {"0 MB", "1 MB", "0 MB"};   // 705,600, 1,058,400 and 529,200 bytes
    for (int at = 0; at < 3; ++at)
        EXPECT_EQ(std::tuple(records[at].nTrackNo, std::string(records[at].szLength), std::string(records[at].szSize),
                             std::string(records[at].szPath), std::string(records[at].szArtist)),
                  std::tuple(at + 1, lengths[at], sizes[at], "D:\\Track0" + std::to_string(at + 1) + ".cda", ""));

    records = RecordsFor('S');
    count = 2;
    ASSERT_EQ(TextInfo('S', records.data(), count), 0);
    EXPECT_EQ(std::tuple(std::string(records[1].szLength), std::string(records[1].szSize)), std::tuple("3:03", "30 MB"));
}

TEST_F(CdExportsTest, SpareRecordsAndUnterminatedNamesAreLeftSafeAndOtherDrivesGive6024)
{
    std::vector<CD_TEXT_INFO> records(3);
    std::memset(records[0].szTitle, 'a', sizeof records[0].szTitle);   // no terminator
    std::strcpy(records[2].szTitle, "spare");
    unsigned count = 3;
    EXPECT_EQ(TextInfo('E', records.data(), count), 0);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(std::tuple(records[0].nTrackNo, std::string(records[0].szPath), std::string(records[0].szLength)),
              std::tuple(-1, "", "0:02"));
    EXPECT_STREQ(records[2].szPath, "");   // only the disc's one track is filled

    for (const char drive : {'Q', 'M', 'F'}) {
        CD_TEXT_INFO spare[7];
        count = 7;
        EXPECT_EQ(TextInfo(drive, spare, count), 6024) << drive;
        EXPECT_EQ(count, 0u) << drive;
    }
}

TEST_F(CdExportsTest, ARippedWavHoldsTheTrackExactlyAndEachRipStartsFromNothing)
{
    velmora::test::WriteFile(scratch / "two.wav", "stale output");
    ASSERT_EQ(Rip("D:2", scratch / "two.wav"), 0);
    const auto wav = ReadFile(scratch / "two.wav");
    EXPECT_TRUE(ReadFile(RippedWav()) == wav);   // the temporary WAV stays
    EXPECT_EQ(std::tuple(wav.substr(0, 4), velmora::test::Little32(wav, 4), wav.substr(8, 8), velmora::test::Little32(wav, 40)),
              std::tuple("RIFF", tones->tracks[1].size() + 36, "WAVEfmt ", 6u * 176400));
    EXPECT_TRUE(wav.substr(44) == tones->tracks[1]) << "the samples differ from the image's";

    ASSERT_EQ(Rip("D:3", scratch / "a.wav"), 0);
    ASSERT_EQ(Rip("e:1", scratch / "b.wav"), 0);
    EXPECT_TRUE(ReadFile(scratch / "a.wav").substr(44) == tones->tracks[2]);
    EXPECT_TRUE(ReadFile(scratch / "b.wav").substr(44) == single->tracks[0]);
}

TEST_F(CdExportsTest, RipsThatCannotBeMadeGiveTheirCodeAndLeaveNoWav)
{
    velmora::test::WriteFile(scratch / "mixed.bin", std::string(2 * 75 * 2352 + 2 * 176400, '\x11'));
    velmora::test::WriteFile(scratch / "mixed.cue", "FILE \"mixed.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                                                    "  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n");
    ScopedEnvironment mixed(velmora::platform::DriveTable::kVariable,
                            "D=" + tones->cue.string() + ";M=" + (*discs / "missing.cue").string() + ";F=" +
                                discs->path().string() + ";X=" + (scratch / "mixed.cue").string());
    for (const auto& [source, result] : std::vector<std::pair<std::string, int>>{
             {"D:0", 6023}, {"D:4", 6023}, {"D:3x", 6023}, {"D:", 6023}, {"D:99999999999999999999", 6023}, {"D:-1", 6023},
             {"D:2 ", 6023}, {"X:1", 6023}, {"M:1", 6022}, {"Q:1", 6022}, {"F:1", 6022}, {"/x", 6022}}) {
        EXPECT_EQ(Rip(source, scratch / "out.wav"), result) << source;
        EXPECT_FALSE(std::filesystem::exists(RippedWav()) || std::filesystem::exists(scratch / "out.wav")) << source;
    }
    // The audio track after a data track is ripped.
    ASSERT_EQ(Rip("X:2", scratch / "audio.wav"), 0);
    EXPECT_TRUE(ReadFile(scratch / "audio.wav").substr(44) == std::string(2 * 176400, '\x11'));
}

TEST_F(CdExportsTest, ARipThatCannotBeWrittenToTheEndLeavesNoWav)
{
    // The file size limit stops the temporary WAV half-way; only the child process carries it.
    const auto ripRestricted = [&] {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = 100000;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const int result = Rip("D:2", scratch / "out.wav");
        std::_Exit(result == 6021 && !std::filesystem::exists(RippedWav()) ? 0 : 1);
    };
    EXPECT_EXIT(ripRestricted(), ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(std::filesystem::exists(RippedWav()));
}

TEST_F(CdExportsTest, AnMp3RequestEncodesTheRippedTrack)
{
    velmora::test::WriteFile(scratch / "track1.mp3", "stale output");
    EXPECT_EQ(Rip("E:1", scratch / "track1.mp3", 2), 0);
    EXPECT_TRUE(ReadFile(RippedWav()).substr(44) == single->tracks[0]);
    const auto report = velmora::test::DescribeWithFfmpeg(scratch / "track1.mp3");
    EXPECT_NE(report.find("Input #0, mp3, from"), std::string::npos) << report;
    EXPECT_NEAR(velmora::test::DurationSeconds(scratch / "track1.mp3"), 2.0, 0.1);
}

class CddbExportsTest : public CdExportsTest {
protected:
    CddbExportsTest()
    {
        shown.clear();
        library.Bind<Lumetra::SetMessageBoxHandlerFn>("SetMessageBoxHandler")(
            [](const char* text, const char* title) { shown.push_back(std::string(title) + ": " + text); });
        UseServer(server.address());
    }
    ~CddbExportsTest() override
    {
        library.Bind<Lumetra::SetMessageBoxHandlerFn>("SetMessageBoxHandler")(nullptr);
        library.Bind<Lumetra::FreeCDDBMatchesFn>("FreeCDDBMatches")(&matches);
    }
    void UseServer(const std::string& address)
    {
        velmora::test::WriteFile(scratch / "velmora.conf", "CddbServer=" + address + "\nCddbHelloHost=testhost\n");
    }
    int Read(char drive = 'D') { return library.Bind<Lumetra::ReadCDDBFn>("ReadCDDB")(drive, &matches); }
    int Entry(CD_TEXT_INFO* tracks, int count) { return library.Bind<Lumetra::GetCDEntryFn>("GetCDEntry")(tracks, count, &match); }

    static inline std::vector<std::string> shown;
    std::string answer;
    LoopbackHttpServer server{[this](const auto&) { return LoopbackHttpServer::Reply{answer}; }};
    ScopedEnvironment conf{"VELMORA_CONF", (scratch / "velmora.conf").string()};
    std::vector<CDDB::CQueryResult*> matches;
    const CDDB::CQueryResult match{"", "rock", "0470a6507", "The Band", "Greatest Hits"};
};

const std::string kUnreadableAnswer =
    "Error: CD Drive is not ready or cannot read cd. Details: Unable to process results returned for query: Data returned: ";

TEST_F(CddbExportsTest, ReadCddbAsksForTheDiscIdOfTheTableOfContentsAndHandsOverTheMatches)
{
    // Tracks of 4, 6 and 3 seconds: starts at 150, 450 and 900 frames, lead-out at 15 s.
    answer = "200 rock 0b000d03 The Band / Greatest Hits\r\n";
    EXPECT_EQ(Read(), 1);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].body, "cmd=cddb+query+0b000d03+3+150+450+900+15&hello=test+testhost+DuridaDizu+1.0&proto=6");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(std::tuple(matches[0]->strCode, matches[0]->strArtist), std::tuple("200", "The Band"));

    answer = "211 Found inexact matches\r\nrock 0b000d03 A / B\r\nblues 0b000d04 C / D\r\n.\r\n";
    EXPECT_EQ(Read(), 1);
    EXPECT_EQ(matches.size(), 3u);   // appended
    EXPECT_TRUE(shown.empty());
}

TEST_F(CddbExportsTest, FailuresAreShownAndLeaveNoMatches)
{
    answer = "200 rock 0b000d03 The Band / Greatest Hits\r\n";
    ASSERT_EQ(Read(), 1);
    answer = "202 No match for disc ID 0b000d03.\r\n";
    EXPECT_EQ(Read(), 1);
    EXPECT_TRUE(matches.empty());
    answer = "";
    EXPECT_EQ(Read(), 0);
    UseServer("127.0.0.1:" + std::to_string(velmora::test::UnusedLoopbackPort()));
    EXPECT_EQ(Read(), 0);
    const auto asked = server.requests().size();
    EXPECT_EQ(Read('Q'), 1);   // a drive that cannot be read asks no server
    EXPECT_EQ(server.requests().size(), asked);
    EXPECT_TRUE(matches.empty());
    EXPECT_EQ(shown, (std::vector<std::string>{"Error: Query unsuccessful: 202", kUnreadableAnswer, kUnreadableAnswer,
                                               "Error Message: Unable to access CD Drive: Q"}));
}

TEST_F(CddbExportsTest, GetCDEntryWritesTitlesAndArtistOrShowsWhyNot)
{
    answer = "210 rock 0470a6507 entry follows\r\n# xmcd\r\nDTITLE=The Band / Greatest Hits\r\n"
             "TTITLE0=Tea For One\r\nTTITLE1=Second\r\n.\r\nTTITLE1=ignored\r\n";
    CD_TEXT_INFO tracks[2];
    EXPECT_EQ(Entry(tracks, 2), 1);
    EXPECT_EQ(std::tuple(std::string(tracks[0].szTitle), std::string(tracks[1].szTitle), std::string(tracks[1].szArtist)),
              std::tuple("Tea For One", "Second", "The Band"));
    EXPECT_TRUE(shown.empty());

    UseServer("127.0.0.1:" + std::to_string(velmora::test::UnusedLoopbackPort()));
    CD_TEXT_INFO untouched[1];
    EXPECT_EQ(Entry(untouched, 1), 0);
    UseServer("http://cddb.example/cgi-bin");
    EXPECT_EQ(Entry(untouched, 1), 0);
    EXPECT_STREQ(untouched[0].szTitle, "");
    EXPECT_EQ(shown, (std::vector<std::string>{"Error: Failed to read CD Entry. Details: No results returned from cddb read. ",
                                               "Error: Failed to read CD Entry. Details: Invalid Site Address specified"}));

    std::vector<CDDB::CQueryResult*> made{new CDDB::CQueryResult{match}, new CDDB::CQueryResult{match}};
    library.Bind<Lumetra::FreeCDDBMatchesFn>("FreeCDDBMatches")(&made);
    EXPECT_TRUE(made.empty());   // the leak checker sees any record left behind
    library.Bind<Lumetra::FreeCDDBMatchesFn>("FreeCDDBMatches")(nullptr);
}

}  // namespace
