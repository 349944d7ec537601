#include "CdImage.h"
#include "LoopbackHttpServer.h"
#include "LumetraLibrary.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using MediaLibrary::Header::CD_TEXT_INFO;
using velmora::test::LoopbackHttpServer;
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;

struct Shown {
    std::string text;
    std::string title;
};
std::vector<Shown> shown;

class CddbExportsTest : public ::testing::Test {
protected:
    CddbExportsTest()
    {
        shown.clear();
        library.Bind<Lumetra::SetMessageBoxHandlerFn>("SetMessageBoxHandler")(
            [](const char* text, const char* title) { shown.push_back({text, title}); });
    }
    ~CddbExportsTest() override { library.Bind<Lumetra::SetMessageBoxHandlerFn>("SetMessageBoxHandler")(nullptr); }

    void UseServer(const std::string& address)
    {
        velmora::test::WriteFile(scratch / "velmora.conf", "CddbServer=" + address + "\n");
    }

    const velmora::test::LumetraLibrary& library = velmora::test::LumetraLibrary::Instance();
    ScratchFolder scratch;
    ScopedEnvironment conf{"VELMORA_CONF", (scratch / "velmora.conf").string()};
    CDDB::CQueryResult match{"", "rock", "0470a6507", "The Band", "Greatest Hits"};
};

class ReadCddbTest : public CddbExportsTest {
protected:
    ReadCddbTest()
    {
        // Tracks of 4, 6 and 3 seconds: starts at 150, 450 and 900 frames, lead-out at 15 s.
        velmora::test::WriteCdImage(scratch.path(), "disc", {{4, 440}, {6, 660}, {3, 880}});
        velmora::test::WriteFile(scratch / "velmora.conf", "CddbServer=" + server.address() + "\nCddbHelloHost=testhost\n");
    }
    ~ReadCddbTest() override { library.Bind<Lumetra::FreeCDDBMatchesFn>("FreeCDDBMatches")(&matches); }

    int Read(char drive = 'X') { return library.Bind<Lumetra::ReadCDDBFn>("ReadCDDB")(drive, &matches); }

    std::string answer;
    LoopbackHttpServer server{[this](const auto&) { return LoopbackHttpServer::Reply{answer}; }};
    ScopedEnvironment drives{"VELMORA_DRIVES", "X=" + (scratch / "disc.cue").string()};
    std::vector<CDDB::CQueryResult*> matches;
};

TEST_F(ReadCddbTest, AsksForTheDiscIdOfTheTableOfContents)
{
    answer = "200 rock 0b000d03 The Band / Greatest Hits\r\n";
    EXPECT_EQ(Read(), 1);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].body,
              "cmd=cddb+query+0b000d03+3+150+450+900+15&hello=test+testhost+DuridaDizu+1.0&proto=6");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0]->strCode, "200");
    EXPECT_EQ(matches[0]->strArtist, "The Band");
    EXPECT_TRUE(shown.empty());
}

TEST_F(ReadCddbTest, ListsInexactMatchesAndReportsFailedQueries)
{
    answer = "211 Found inexact matches\r\nrock 0b000d03 A / B\r\nblues 0b000d04 C / D\r\njazz 0b000d05 E / F\r\n.\r\n";
    EXPECT_EQ(Read(), 1);
    ASSERT_EQ(matches.size(), 3u);
    for (const auto* match : matches) EXPECT_EQ(match->strCode, "");

    answer = "202 No match for disc ID 0b000d03.\r\n";
    EXPECT_EQ(Read(), 1);
    EXPECT_TRUE(matches.empty());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Query unsuccessful: 202");
    EXPECT_EQ(shown[0].title, "Error");

    answer = "";
    EXPECT_EQ(Read(), 0);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text,
              "CD Drive is not ready or cannot read cd. Details: Unable to process results returned for query: "
              "Data returned: ");
}

TEST_F(ReadCddbTest, AnUnreachableServerIsReportedAsAnUnreadableAnswer)
{
    velmora::test::WriteFile(scratch / "velmora.conf",
                             "CddbServer=127.0.0.1:" + std::to_string(velmora::test::UnusedLoopbackPort()) + "\n");
    EXPECT_EQ(Read(), 0);
    EXPECT_TRUE(matches.empty());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "CD Drive is not ready or cannot read cd. Details: Unable to process results returned for query: "
              "Data returned: ");
}

TEST_F(ReadCddbTest, ADriveThatCannotBeReadAsksNoServer)
{
    EXPECT_EQ(Read('Q'), 1);
    EXPECT_TRUE(matches.empty());
    EXPECT_TRUE(server.requests().empty());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Unable to access CD Drive: Q");
}

TEST_F(CddbExportsTest, GetCDEntryWritesTitlesAndArtistIntoTheRecords)
{
    LoopbackHttpServer server([](const auto&) {
        return LoopbackHttpServer::Reply{"210 rock 0470a6507 entry follows\r\n# xmcd\r\nDTITLE=The Band / Greatest Hits\r\n"
                                         "TTITLE0=Tea For One\r\nTTITLE1=Second\r\n.\r\nTTITLE1=ignored\r\n"};
    });
    UseServer(server.address());
    CD_TEXT_INFO tracks[2];
    EXPECT_EQ(library.Bind<Lumetra::GetCDEntryFn>("GetCDEntry")(tracks, 2, &match), 1);
    EXPECT_STREQ(tracks[0].szTitle, "Tea For One");
    EXPECT_STREQ(tracks[1].szTitle, "Second");
    EXPECT_STREQ(tracks[1].szArtist, "The Band");
    EXPECT_TRUE(shown.empty());
}

TEST_F(CddbExportsTest, AServerThatNeverAnswersGivesUpWithinTheTimeOut)
{
    LoopbackHttpServer silent([](const auto&) { return LoopbackHttpServer::Reply{"", 200, true}; });
    UseServer(silent.address());
    CD_TEXT_INFO tracks[1];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(library.Bind<Lumetra::GetCDEntryFn>("GetCDEntry")(tracks, 1, &match), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(40));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Error");
    EXPECT_EQ(shown[0].text, "Failed to read CD Entry. Details: No results returned from cddb read. ");
    EXPECT_STREQ(tracks[0].szTitle, "");
}

TEST_F(CddbExportsTest, AnInvalidServerSettingIsReportedNotUsed)
{
    UseServer("http://cddb.example/cgi-bin");
    CD_TEXT_INFO tracks[1];
    EXPECT_EQ(library.Bind<Lumetra::GetCDEntryFn>("GetCDEntry")(tracks, 1, &match), 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Failed to read CD Entry. Details: Invalid Site Address specified");
}

TEST_F(CddbExportsTest, FreeCDDBMatchesReleasesEveryRecord)
{
    std::vector<CDDB::CQueryResult*> matches{new CDDB::CQueryResult{match}, new CDDB::CQueryResult{match}};
    library.Bind<Lumetra::FreeCDDBMatchesFn>("FreeCDDBMatches")(&matches);
    EXPECT_TRUE(matches.empty());   // the leak checker sees any record left behind
    library.Bind<Lumetra::FreeCDDBMatchesFn>("FreeCDDBMatches")(nullptr);
}

}  // namespace
