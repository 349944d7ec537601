// The CD exports as the window reaches them: track lists, rips and CDDB look-ups of CD images
// written by the tests, with a loopback CDDB server.

#include "CdImage.h"
#include "LoopbackHttpServer.h"
#include "LumetraLibrary.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "drives/DriveTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <future>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using MediaLibrary::Header::CD_TEXT_INFO;
using MediaLibrary::Header::MEDIACONVERSIONINFO;
using velmora::platform::DriveTable;
using namespace velmora::test;

// Discs of tones of 4, 6 and 3 s and of data and then audio, and a folder.
class CdExportsTest : public ::testing::Test {
protected:
    static int Rip(const std::string& source, const std::filesystem::path& output, int format = 1)
    {
        return LUMETRA(Convert_CD_TO_MP3)(LumetraRequest(source, output, format));
    }
    static std::string Failure() { return LUMETRA(GetLastFailure)(); }
    // What rips left in the private folder, and hidden beside their outputs: nothing, whatever became of them.
    std::vector<std::string> LeftOver() const
    {
        std::vector<std::string> names;
        std::error_code ignored;
        const auto add = [&](const std::filesystem::path& folder, bool hiddenOnly) {
            for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
                if (const auto name = entry.path().filename().string(); !hiddenOnly || name.starts_with("."))
                    names.push_back(name);
        };
        add(scratch / ("velmora-" + std::to_string(::getuid())), false);
        add(scratch.path(), true);
        return names;
    }

    ScratchFolder scratch;
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
    CdImage tones = WriteCdImage(scratch.path(), "tones", {{4, 440}, {6, 660}, {3, 880}});
    ScopedEnvironment drives{DriveTable::kVariable,
                             DriveList({{'D', tones.cue}, {'X', WriteMixedCdImage(scratch.path())},
                                        {'M', scratch / "missing.cue"}, {'F', scratch.path()}})};
};

TEST_F(CdExportsTest, TheTrackListComesInTwoCallsAndStaysInsideTheArray)
{
    // Too little room, or none: the count only, and no byte of the records touched.
    std::vector<CD_TEXT_INFO> records(2);
    std::memset(static_cast<void*>(records.data()), 0x5A, 2 * sizeof(CD_TEXT_INFO));
    const auto before = records;
    unsigned count = 2, none = 0;
    EXPECT_EQ(LUMETRA(GET_CD_TEXT_INFO)('D', records.data(), &count), 6000);
    EXPECT_EQ(LUMETRA(GET_CD_TEXT_INFO)('D', nullptr, &none), 6000);
    EXPECT_EQ(std::tuple(count, none), std::tuple(3u, 3u));
    EXPECT_EQ(std::memcmp(records.data(), before.data(), 2 * sizeof(CD_TEXT_INFO)), 0);

    // The window's records: one per .cda file, its name in szTitle. A name that fills its field with
    // no end gets no path; a spare record stays as it was.
    records.clear();
    for (const auto& name : DriveTable::Load().FindFiles("D:\\*.cda"))
        std::strcpy(records.emplace_back().szTitle, name.c_str());
    std::memset(records[1].szTitle, 'a', sizeof records[1].szTitle);
    std::strcpy(records.emplace_back().szTitle, "spare");
    count = 4;
    EXPECT_EQ(LUMETRA(GET_CD_TEXT_INFO)('D', records.data(), &count), 0);
    EXPECT_EQ(count, 3u);
    std::string rows;
    for (const auto& row : records)
        rows += std::to_string(row.nTrackNo) + " " + row.szPath + " " + row.szLength + " " + row.szSize + ";";
    EXPECT_EQ(rows, "1 D:\\Track01.cda 0:04 0 MB;-1  0:06 1 MB;3 D:\\Track03.cda 0:03 0 MB;0   ;");
    for (const auto& [drive, reason] : std::vector<std::pair<char, std::string>>{
             {'Q', "there is no drive Q:"}, {'M', "missing.cue cannot be opened"}, {'F', "holds no disc"}}) {
        count = 2;
        EXPECT_EQ(LUMETRA(GET_CD_TEXT_INFO)(drive, records.data(), &count), 6024) << drive;
        EXPECT_EQ(count, 0u) << drive;
        EXPECT_NE(Failure().find(reason), std::string::npos) << Failure();
    }
}

TEST_F(CdExportsTest, ARipHoldsTheTrackExactlyInPlaceOfAnOldFileOrGivesItsCodeAndReasonAndLeavesNothing)
{
    WriteFile(scratch / "two.wav", "stale output");
    ASSERT_EQ(Rip("D:2", scratch / "two.wav"), 0);
    const auto wav = ReadFile(scratch / "two.wav");
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_TRUE(wav.substr(44) == tones.tracks[1]) << "the samples differ from the image's";

    ASSERT_EQ(Rip("d:3", scratch / "three.mp3", 2), 0);
    EXPECT_NE(DescribeWithFfmpeg(scratch / "three.mp3").find("Input #0, mp3"), std::string::npos);
    EXPECT_NEAR(DurationSeconds(scratch / "three.mp3"), 3.0, 0.1);

    ASSERT_EQ(Rip("X:2", scratch / "audio.wav"), 0);   // the audio track after a data track
    EXPECT_TRUE(ReadFile(scratch / "audio.wav").substr(44) == std::string(2 * 176400, '\x11'));
    EXPECT_EQ(LeftOver(), std::vector<std::string>{});

    // Rips that cannot be made give their code and reason, and leave the earlier output as it was.
    WriteFile(scratch / "out.wav", "earlier");
    WriteFile(scratch / "out.mp3", "earlier");
    for (const auto& [source, result, reason] : std::vector<std::tuple<std::string, int, std::string>>{
             {"D:4", 6023, "no audio track D:4 (the disc has 3"}, {"D:3x", 6023, "no audio track D:3x"},
             {"X:1", 6023, "no audio track X:1"}, {"M:1", 6022, "missing.cue cannot be opened"},
             {"Q:1", 6022, "there is no drive Q:"}, {"F:1", 6022, "holds no disc"}, {"/x", 6022, "names no CD drive"}}) {
        for (const auto* output : {"out.wav", "out.mp3"}) {
            EXPECT_EQ(Rip(source, scratch / output, output[4] == 'w' ? 1 : 2), result) << source;
            EXPECT_NE(Failure().find(reason), std::string::npos) << Failure();
            EXPECT_EQ(ReadFile(scratch / output), "earlier") << source;
        }
    }
    // A rip would rename its file onto the output, so a device or a FIFO there is refused.
    ASSERT_EQ(::mkfifo((scratch / "fifo.wav").c_str(), 0600), 0);
    EXPECT_EQ(Rip("D:1", scratch / "fifo.wav"), 6021);
    EXPECT_NE(Failure().find("fifo.wav is not a regular file"), std::string::npos) << Failure();
    EXPECT_TRUE(std::filesystem::is_fifo(scratch / "fifo.wav"));
    EXPECT_EQ(LeftOver(), std::vector<std::string>{});
    // The file size limit stops the WAV half-way; only the child process carries it.
    const auto ripRestricted = [&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100000, 100000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool kept = Rip("D:2", scratch / "out.wav") == 6021 && Failure().find("File too large") != std::string::npos &&
                          ReadFile(scratch / "out.wav") == "earlier" && LeftOver().empty();
        std::_Exit(kept ? 0 : 1);
    };
    EXPECT_EXIT(ripRestricted(), ::testing::ExitedWithCode(0), "");
}

TEST_F(CdExportsTest, TwoProcessesRippingAtOnceEachGetTheirOwnTrack)
{
    // Tracks long enough for the two rips to overlap.
    const auto disc = WriteCdImage(scratch.path(), "long", {{20, 440}, {25, 660}});
    const ScopedEnvironment longDisc{DriveTable::kVariable, DriveList({{'L', disc.cue}})};
    std::vector<pid_t> children;
    for (const auto* track : {"1", "2"}) {
        const pid_t child = ::fork();
        if (child == 0) std::_Exit(Rip(std::string("L:") + track, scratch / (track + std::string(".wav"))));
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    for (const std::size_t at : {0u, 1u}) {
        const auto wav = ReadFile(scratch / (std::to_string(at + 1) + ".wav"));
        EXPECT_TRUE(wav.size() == 44 + disc.tracks[at].size() && wav.ends_with(disc.tracks[at]))
            << "track " << at + 1 << " holds other samples";
    }
    EXPECT_EQ(LeftOver(), std::vector<std::string>{});
}

TEST_F(CdExportsTest, AnImageLibcdioCannotBeTrustedWithIsRefusedAtOnceWithTheReason)
{
    // libcdio would write out of bounds for the first and wait for ever on the second.
    WriteFile(scratch / "seventy.bin", tones.tracks[0]);
    WriteFile(scratch / "seventy.cue", "FILE \"seventy.bin\" BINARY\n  TRACK 70 AUDIO\n    INDEX 01 00:00:00\n");
    ASSERT_EQ(::mkfifo((scratch / "fifo.bin").c_str(), 0600), 0);
    WriteFile(scratch / "fifo.cue", "FILE \"fifo.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    const ScopedEnvironment images{DriveTable::kVariable,
                                   DriveList({{'S', scratch / "seventy.cue"}, {'P', scratch / "fifo.cue"}})};
    WriteFile(scratch / "out.wav", "earlier");
    ::alarm(60);   // a call that waits on the FIFO ends the test program as a failure
    for (const auto& [drive, reason] : std::vector<std::pair<char, std::string>>{
             {'S', "seventy.cue cannot be used: line 2: track 70 where track 1 must come"},
             {'P', "fifo.cue cannot be used: " + (scratch / "fifo.bin").string() + " is not a regular file"}}) {
        std::vector<CD_TEXT_INFO> records(2);
        unsigned count = 2;
        EXPECT_EQ(LUMETRA(GET_CD_TEXT_INFO)(drive, records.data(), &count), 6024);
        EXPECT_NE(Failure().find(reason), std::string::npos) << Failure();
        EXPECT_EQ(Rip(std::string(1, drive) + ":1", scratch / "out.wav"), 6022);
        EXPECT_NE(Failure().find(reason), std::string::npos) << Failure();
        EXPECT_EQ(ReadFile(scratch / "out.wav"), "earlier");
    }
    ::alarm(0);
}

TEST_F(CdExportsTest, WhileATrackIsRippedTheEncodedSecondsFollowTheAudioReadAndACancelStopsIt)
{
    const auto disc = WriteCdImage(scratch.path(), "long", {{40, 440}});
    const ScopedEnvironment longDisc{DriveTable::kVariable, DriveList({{'L', disc.cue}})};
    auto ripping = std::async(std::launch::async, [&] { return Rip("L:1", scratch / "long.wav"); });
    std::vector<double> seen;
    while (ripping.wait_for(std::chrono::milliseconds(1)) == std::future_status::timeout)
        seen.push_back(LUMETRA(GetEncodedSeconds)());
    EXPECT_EQ(ripping.get(), 0);
    // Between the end of the reading and the return nothing is being ripped: those readings are 0.
    while (!seen.empty() && seen.back() == 0) seen.pop_back();
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](double seconds) { return seconds > 0 && seconds < 40; }))
        << seen.size() << " readings";
    EXPECT_EQ(LUMETRA(GetEncodedSeconds)(), 0);

    ripping = std::async(std::launch::async, [&] { return Rip("L:1", scratch / "cancelled.wav"); });
    while (LUMETRA(GetEncodedSeconds)() == 0 && ripping.wait_for(std::chrono::milliseconds(1)) == std::future_status::timeout) {
    }
    LUMETRA(CancelConversions)();
    EXPECT_EQ(ripping.get(), 6022);
    EXPECT_FALSE(std::filesystem::exists(scratch / "cancelled.wav"));
    EXPECT_EQ(LeftOver(), std::vector<std::string>{});
}

class CddbExportsTest : public CdExportsTest {
protected:
    CddbExportsTest()
    {
        shown.clear();
        LUMETRA(SetMessageBoxHandler)(
            [](const char* text, const char* title) { shown.push_back(std::string(title) + ": " + text); });
        WriteFile(scratch / "velmora.conf",
                  "CddbServer=" + server.address() + "\nAccurateRipServer=" + server.address() + "\n");
    }
    ~CddbExportsTest() override
    {
        LUMETRA(SetMessageBoxHandler)(nullptr);
        LUMETRA(FreeCDDBMatches)(&matches);
    }
    int Read(char drive = 'D') { return LUMETRA(ReadCDDB)(drive, &matches); }

    static inline std::vector<std::string> shown;
    std::string answer;
    LoopbackHttpServer server{[this](const LoopbackHttpServer::Request& request) {
        return request.method == "GET" ? LoopbackHttpServer::Reply{"", 404} : LoopbackHttpServer::Reply{answer};
    }};
    ScopedEnvironment conf{"VELMORA_CONF", (scratch / "velmora.conf").string()};
    std::vector<CDDB::CQueryResult*> matches;
};

TEST_F(CddbExportsTest, TheDiscInTheDriveIsLookedUpAndItsEntryWrittenIntoTheRecordsOrTheUserIsToldWhyNot)
{
    // Tracks of 4, 6 and 3 seconds: starts at 150, 450 and 900 frames, lead-out at 15 s.
    answer = "211 Found inexact matches\r\nrock 0b000d03 A / B\r\nblues 0b000d04 C / D\r\n.\r\n";
    EXPECT_EQ(Read(), 1);
    EXPECT_EQ(Read(), 1);
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_TRUE(server.requests()[0].body.starts_with("cmd=cddb+query+0b000d03+3+150+450+900+15&"));
    ASSERT_EQ(matches.size(), 4u);   // appended
    EXPECT_EQ(matches[3]->strArtist, "C");

    answer = "210 blues 0b000d04 entry\r\nDTITLE=The Band / Greatest Hits\r\nTTITLE0=One\r\nTTITLE1=Two\r\n.\r\n";
    CD_TEXT_INFO tracks[2];
    EXPECT_EQ(LUMETRA(GetCDEntry)(tracks, 2, matches[3]), 1);
    EXPECT_EQ(std::string(tracks[0].szTitle) + "/" + tracks[1].szTitle + "/" + tracks[1].szArtist, "One/Two/The Band");
    EXPECT_TRUE(server.requests()[2].body.starts_with("cmd=cddb+read+blues+0b000d04&"));
    EXPECT_TRUE(shown.empty());
    EXPECT_STREQ(LUMETRA(GetLastFailure)(), "");
    // Only 210 brings an entry.
    answer = "401 blues 0b000d04 No such CD entry in database.\r\nTTITLE0=Not this\r\n";
    CD_TEXT_INFO none[2];
    EXPECT_EQ(LUMETRA(GetCDEntry)(none, 2, matches[3]), 0);
    EXPECT_STREQ(none[0].szTitle, "");
    const std::string noEntry = "the CDDB server " + server.address() + " has no entry for this disc (401)";
    EXPECT_EQ(LUMETRA(GetLastFailure)(), noEntry);

    answer = "202 No match for disc ID 0b000d03.\r\n";
    EXPECT_EQ(Read(), 1);
    EXPECT_TRUE(matches.empty());
    EXPECT_EQ(LUMETRA(GetLastFailure)(), "the CDDB server " + server.address() + " knows no disc like this one (202)");
    answer = "";
    EXPECT_EQ(Read(), 0);
    EXPECT_EQ(Read('Q'), 1);   // a drive that cannot be read asks no server
    EXPECT_STREQ(LUMETRA(GetLastFailure)(), "drive Q: cannot be read (no such drive, or no disc)");
    EXPECT_EQ(server.requests().size(), 6u);
    const CDDB::CQueryResult match{"", "rock", "470a6507", "The Band", "Greatest Hits"};
    WriteFile(scratch / "velmora.conf", "CddbServer=http://cddb.example/cgi-bin\n");
    CD_TEXT_INFO untouched[1];
    EXPECT_EQ(LUMETRA(GetCDEntry)(untouched, 1, &match), 0);
    EXPECT_STREQ(untouched[0].szTitle, "");
    EXPECT_TRUE(matches.empty());
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "Error: Failed to read CD Entry. Details: " + noEntry,
                         "Error: Query unsuccessful: 202",
                         "Error: CD Drive is not ready or cannot read cd. Details: Unable to process results returned "
                         "for query: Data returned: ",
                         "Error Message: Unable to access CD Drive: Q",
                         "Error: Failed to read CD Entry. Details: Invalid Site Address specified"}));

    std::vector<CDDB::CQueryResult*> made{new CDDB::CQueryResult{match}, new CDDB::CQueryResult{match}};
    LUMETRA(FreeCDDBMatches)(&made);
    EXPECT_TRUE(made.empty());   // the leak checker sees any record left behind
    LUMETRA(FreeCDDBMatches)(nullptr);
}

TEST_F(CddbExportsTest, ADiscNamesItselfByItsCdTextAndTheEntryChosenForADiscNamesItsRip)
{
    // The records of a drive as the window makes them: each named by its .cda file, then read.
    const auto records = [](char drive) {
        std::vector<CD_TEXT_INFO> tracks;
        for (const auto& name : DriveTable::Load().FindFiles(std::string{drive, ':', '\\'} + "*.cda"))
            std::strcpy(tracks.emplace_back().szTitle, name.c_str());
        auto count = static_cast<unsigned>(tracks.size());
        EXPECT_EQ(LUMETRA(GET_CD_TEXT_INFO)(drive, tracks.data(), &count), 0);
        for (auto& track : tracks) track.szTitle[0] = '\0';
        return tracks;
    };
    const auto titled = WriteCdImage(scratch.path(), "titled", {{1, 440}, {1, 660}}, {"Them", "Named", {"Uno", "Dos"}});
    const ScopedEnvironment both{DriveTable::kVariable, DriveList({{'D', tones.cue}, {'T', titled.cue}})};
    EXPECT_EQ(Read('T'), 1);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(std::vector<std::string>({matches[0]->strCode, matches[0]->strCategory, matches[0]->strDiscId,
                                        matches[0]->strArtist, matches[0]->strTitle}),
              std::vector<std::string>({"200", "cd-text", "05000202", "Them", "Named"}));
    EXPECT_TRUE(server.requests().empty());
    auto named = records('T');
    EXPECT_EQ(LUMETRA(GetCDEntry)(named.data(), 2, matches[0]), 1);
    EXPECT_EQ(std::string(named[1].szTitle) + "/" + named[1].szArtist, "Dos/Them");

    // The entry read for drive D names the files of the rip that follows, as long as that disc is in it.
    answer = "210 rock 0b000d03 entry\r\nDTITLE=The Band / Hits\r\nTTITLE0=Opening\r\n.\r\n";
    const CDDB::CQueryResult match{"200", "rock", "0b000d03", "The Band", "Hits"};
    auto tracks = records('D');
    EXPECT_EQ(LUMETRA(GetCDEntry)(tracks.data(), 3, &match), 1);
    MEDIACONVERSIONINFO quality;
    quality.nOutputFormat = MediaLibrary::Header::kFormatWav;
    LumetraDiscRip* rip = LUMETRA(BeginDiscRip)('D', scratch.path().c_str(), quality);
    ASSERT_NE(rip, nullptr) << Failure();
    MediaLibrary::Header::RIP_TRACK_REPORT report;
    EXPECT_EQ(LUMETRA(RipDiscTrack)(rip, 1, &report), 0) << Failure();
    EXPECT_EQ(std::tuple(std::string(report.szOutputFile), report.nVerdict, std::string(report.szVerdict), report.nSampleFrames),
              std::tuple((scratch / "01 - Opening.wav").string(), 3, std::string("not in the database"), std::int64_t{4 * 44100}));
    EXPECT_EQ(LUMETRA(RipDiscTrack)(rip, 7, &report), 6023);
    EXPECT_EQ(std::tuple(report.nTrackNo, report.nVerdict, report.szOutputFile[0]), std::tuple(7, 0, '\0'));
    char log[300];
    EXPECT_EQ(LUMETRA(EndDiscRip)(rip, log, sizeof log), 0);
    EXPECT_EQ(std::string(log), (scratch / "rip.log").string());
    // Another disc in the drive is not named by that entry.
    const auto other = WriteCdImage(scratch.path(), "other", {{2, 440}});
    const ScopedEnvironment otherDisc{DriveTable::kVariable, DriveList({{'D', other.cue}})};
    rip = LUMETRA(BeginDiscRip)('D', scratch.path().c_str(), quality);
    ASSERT_NE(rip, nullptr) << Failure();
    EXPECT_EQ(LUMETRA(RipDiscTrack)(rip, 1, &report), 0) << Failure();
    EXPECT_EQ(std::string(report.szOutputFile), (scratch / "Track01.wav").string());
    EXPECT_EQ(LUMETRA(EndDiscRip)(rip, nullptr, 0), 0);
    EXPECT_EQ(LUMETRA(BeginDiscRip)('Q', scratch.path().c_str(), quality), nullptr);
    EXPECT_NE(Failure().find("there is no drive Q:"), std::string::npos) << Failure();
    EXPECT_EQ(LUMETRA(EndDiscRip)(nullptr, log, sizeof log), 6021);
    EXPECT_TRUE(shown.empty());
}

}  // namespace
