#include "LoopbackHttpServer.h"
#include "ScratchFolder.h"
#include "cddb/CdEntry.h"
#include "cddb/DiscId.h"
#include "cddb/ReadCDDB.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

namespace CDDB {
namespace {

using MediaLibrary::Header::CD_TEXT_INFO;
using namespace velmora::test;

std::vector<MsfAddress> Toc(std::initializer_list<int> startFrames, int leadOutFrames)
{
    std::vector<MsfAddress> toc;
    for (int frames : startFrames) toc.push_back({frames / 4500, frames / 75 % 60, frames % 75});
    toc.push_back({leadOutFrames / 4500, leadOutFrames / 75 % 60, leadOutFrames % 75});
    return toc;
}

TEST(DiscIdTest, QueriesNameTheIdWithoutPaddingAfterItsLeadingZeroAndEntriesFillTheRecordsWithinTheirFields)
{
    for (const auto& [toc, query] : std::vector<std::pair<std::vector<MsfAddress>, std::string>>{
             {Toc({150, 47275, 76072, 89507, 117547, 136377, 157530}, 2663 * 75),
              "0470a6507+7+150+47275+76072+89507+117547+136377+157530+2663"},
             // 9 tracks within the first second (digit sum 0) and 3000 seconds long: the id is bb809
             {Toc({0, 1, 2, 3, 4, 5, 6, 7, 8}, 3000 * 75), "0bb809+9+0+1+2+3+4+5+6+7+8+3000"},
             // one track; 8 and 9 characters once the digit sum fills the top byte
             {Toc({150}, 150 + 75 * 61), "02003d01+1+150+63"},
             {{{0, 29, 0}, {2, 0, 0}}, "0b005b01+1+2175+120"},
             {{{16, 39, 0}, {20, 0, 0}}, "01b00c901+1+74925+1200"}})
        EXPECT_EQ(QueryString(toc), query);
    EXPECT_THROW(QueryString({MsfAddress{}}), std::runtime_error);

    // An entry goes into the track records, within their fields.
    auto lines = SplitResponseLines(
        "210 rock 470a6507 CD database entry follows (until terminating `.')\r\n"
        "# xmcd\r\n# Track frame offsets:\r\n#\t150\r\n#\t47275\r\n# Disc length: 2663 seconds\r\n"
        "DISCID=470a6507\r\nDTITLE=The Band / Greatest\r\nDTITLE= Hits\r\nDYEAR=1977\r\nDGENRE=Rock\r\n"
        "TTITLE0=Tea For One\r\nTTITLE1=A title continued \r\nTTITLE1=over two lines\r\nTTITLE2=\r\n"
        "TTITLE12=out of range\r\nTTITLEx=no number means track 0?\r\nEXTD=YEAR: 1977\r\nEXTD= ID3G: 17\r\n"
        "EXTT0=extended\r\nPLAYORDER=\r\n.\r\n");
    lines.front().clear();
    CD_TEXT_INFO tracks[3];
    CCdEntry entry(tracks, 3, lines);
    EXPECT_EQ(entry.DiscIdField() + "|" + entry.Artist() + "|" + entry.DiscTitle() + "|" + entry.Year() + "|" +
                  entry.ExtendedData(), "470a6507|The Band|Greatest Hits|1977|YEAR: 1977 ID3G: 17");
    EXPECT_STREQ(tracks[0].szTitle, "Tea For Oneno number means track 0?");
    EXPECT_STREQ(tracks[1].szTitle, "A title continued over two lines");
    EXPECT_STREQ(tracks[2].szTitle, "");
    for (const auto& track : tracks) EXPECT_STREQ(track.szArtist, "The Band");

    // Long titles are cut at character boundaries; track numbers past the array are left out.
    std::string longTitle;
    for (int i = 0; i < 60; ++i) longTitle += "\xC3\xA9";   // 120 bytes of é
    CD_TEXT_INFO two[2];
    CCdEntry cut(two, 2, {"", "DTITLE=" + longTitle + " / x", "TTITLE1=" + longTitle, "TTITLE99999999999999=x"});
    EXPECT_EQ(std::strlen(two[1].szTitle), 98u);   // 49 whole characters
    EXPECT_EQ(std::strlen(two[0].szArtist), 58u);
    EXPECT_TRUE(std::string(two[1].szTitle).ends_with("\xC3\xA9"));

    CCdEntry plain(two, 2, {"", "DTITLE=No Separator Here"});
    EXPECT_STREQ(two[0].szArtist, "No Separator Here");
    EXPECT_EQ(plain.DiscTitle(), "No Separator Here");
}

class ClientTest : public ::testing::Test {
protected:
    void UseServer(const std::string& address, const std::string& extra = "")
    {
        WriteFile(scratch / "velmora.conf", "CddbServer=" + address + "\nCddbHelloHost=testhost\n" + extra);
    }
    std::string answer;
    LoopbackHttpServer server{[this](const auto&) { return LoopbackHttpServer::Reply{answer}; }};
    ScratchFolder scratch;
    ScopedEnvironment conf{"VELMORA_CONF", (scratch / "velmora.conf").string()};
};

TEST_F(ClientTest, QueryPostsTheCommandWithTheGreetingAndReadsEveryAnswerAndReadEntryFillsTracksOnlyFor210)
{
    UseServer(server.address(), "CddbUser=someone@example.org\n");
    CReadCDDB client;
    Matches matches;
    answer = "200 rock 470a6507 The Band / Greatest Hits\r\n";
    const auto fields = [](const auto& match) {
        return match->strCode + "|" + match->strCategory + "|" + match->strDiscId + "|" + match->strArtist + "|" +
               match->strTitle;
    };
    EXPECT_EQ(client.Query("0470a6507+7+150+2663", matches), "200");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(fields(matches[0]), "200|rock|470a6507|The Band|Greatest Hits");
    const auto request = server.requests().at(0);
    EXPECT_EQ(std::tuple(request.method, request.target), std::tuple("POST", "/~cddb/cddb.cgi"));
    EXPECT_NE(request.headers.find("Content-Type: text/plain"), std::string::npos);
    EXPECT_EQ(request.body,
              "cmd=cddb+query+0470a6507+7+150+2663&hello=someone@example.org+testhost+DuridaDizu+1.0&proto=6");

    matches.clear();
    answer = "211 close matches\r\nrock 1 A / B\r\nmisc 470a6507 AC/DC / Back in Black\r\n"
             "data 12345678 Untitled Disc\r\n.\r\nmisc 4 G / H\r\n";
    EXPECT_EQ(client.Query("q", matches), "211");
    ASSERT_EQ(matches.size(), 3u);   // up to the line that ends the list
    EXPECT_EQ(fields(matches[1]), "|misc|470a6507|AC/DC|Back in Black");
    EXPECT_EQ(fields(matches[2]), "|data|12345678|Untitled Disc|Untitled Disc");

    for (const auto& [body, code] : std::vector<std::pair<std::string, std::string>>{
             {"202 No match\r\n", "202"}, {"403 corrupt\r\n", "403"}, {"409 no handshake\r\n", "409"},
             {"500 error\r\n", "500"}, {"401 odd\r\n", "500"}, {"999 what\r\n", "500"}}) {
        matches.clear();
        answer = body;
        EXPECT_EQ(client.Query("q", matches), code) << body;
        EXPECT_TRUE(matches.empty());
    }
    answer = "";
    EXPECT_THROW(client.Query("q", matches), std::runtime_error);

    // An entry fills the tracks only when it comes with 210.
    const CQueryResult match{"", "rock", "0470a6507", "Artist", "Disc"};
    CD_TEXT_INFO untouched[2];
    for (const auto& [body, code] : std::vector<std::pair<std::string, std::string>>{
             {"401 no entry\r\n", "401"}, {"402 server error\r\n", "402"}, {"200 odd\r\n", "500"}}) {
        answer = body + "DTITLE=Not / This\r\n";
        EXPECT_EQ(client.ReadEntry(&match, untouched, 2), code);
        EXPECT_STREQ(untouched[0].szArtist, "");
    }
    EXPECT_EQ(client.ReadEntry(nullptr, untouched, 2), "");
}

TEST_F(ClientTest, UrlsAsServersAreRefusedAndSilentHugeFailingOrUnreachableServersEndTheExchangeQuietly)
{
    UseServer("http://example.org");
    EXPECT_THROW(CReadCDDB(), std::runtime_error);
    UseServer("127.0.0.1:8880");
    EXPECT_EQ(CReadCDDB().Url(), "http://127.0.0.1:8880/~cddb/cddb.cgi");
    EXPECT_THROW(CReadCDDB().SetServer("example.org/cgi-bin"), std::runtime_error);

    LoopbackHttpServer silent([](const auto&) { return LoopbackHttpServer::Reply{"", 200, true}; });
    LoopbackHttpServer huge([](const auto&) { return LoopbackHttpServer::Reply{std::string(3 << 20, 'x')}; });
    LoopbackHttpServer failing([](const auto&) { return LoopbackHttpServer::Reply{"500 oops\r\n", 500}; });
    for (const auto& address : {silent.address(), huge.address(), failing.address(),
                                "127.0.0.1:" + std::to_string(UnusedLoopbackPort())}) {
        UseServer(address);
        CReadCDDB client;
        client.SetLimits({std::chrono::seconds(1), std::chrono::seconds(2), 1 << 20});
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(client.SendCommand("cddb+query+x").empty()) << address;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
}

}  // namespace
}  // namespace CDDB
