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
