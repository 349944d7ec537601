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

TEST(DiscIdTest, QueriesNameTheIdWithoutPaddingAfterItsLeadingZeroAndEntriesFillTheRecordsCleanAndWithinTheirFields)
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

    // Server text reaches the records without controls, and as valid UTF-8 cut between characters:
    // each bad byte becomes U+FFFD, a character split over two lines stays whole.
    CD_TEXT_INFO dirty[3];
    CCdEntry cleaned(dirty, 3,
                     {"", "DTITLE=\x1B]0;owned\x07The\tBand\x7F\xC2\x9B / Live\r",
                      "TTITLE0=\xFF\xC0\xAF|\xE2\x82" "A|\xED\xA0\x80|\xF4\x90\x80\x80|\xE2\x82\xAC\xF0\x9F\x8E\xB5",
                      "TTITLE1=Caf\xC3", "TTITLE1=\xA9", "TTITLE2=" + std::string(98, 'a') + "\x01\xFF"});
    const std::string bad = "\xEF\xBF\xBD";
    EXPECT_EQ(std::string(dirty[0].szTitle), bad + bad + bad + "|" + bad + bad + "A|" + bad + bad + bad + "|" + bad +
                                                 bad + bad + bad + "|\xE2\x82\xAC\xF0\x9F\x8E\xB5");
    EXPECT_STREQ(dirty[1].szTitle, "Caf\xC3\xA9");
    EXPECT_EQ(std::string(dirty[2].szTitle), std::string(98, 'a'));   // the U+FFFD would not fit whole
    EXPECT_STREQ(dirty[2].szArtist, "]0;ownedThe\tBand");
    EXPECT_EQ(cleaned.DiscTitle(), "Live");
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

std::string Fields(const std::unique_ptr<CQueryResult>& match)
{
    return match->strCode + "|" + match->strCategory + "|" + match->strDiscId + "|" + match->strArtist + "|" +
           match->strTitle;
}

TEST_F(ClientTest, QueryPostsTheCommandWithTheGreetingAndKeepsOnlyMatchesFitToAskForCleaned)
{
    UseServer(server.address(), "CddbUser=someone@example.org\n");
    CReadCDDB client;
    Matches matches;
    answer = "200 rock 470a6507 The Band / Greatest Hits\r\n";
    EXPECT_EQ(client.Query("0470a6507+7+150+2663", matches), "200");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(Fields(matches[0]), "200|rock|470a6507|The Band|Greatest Hits");
    const auto request = server.requests().at(0);
    EXPECT_EQ(std::tuple(request.method, request.target), std::tuple("POST", "/~cddb/cddb.cgi"));
    EXPECT_NE(request.headers.find("Content-Type: text/plain"), std::string::npos);
    EXPECT_EQ(request.body,
              "cmd=cddb+query+0470a6507+7+150+2663&hello=someone@example.org+testhost+DuridaDizu+1.0&proto=6");

    // Category and disc id go into the read request: lines whose words are not [a-z]+ and 8 hex
    // digits are left out.
    matches.clear();
    answer = "211 close matches\r\nrock&cmd=evil 470a6507 A / B\r\nrock 470a650 C / D\r\nRock 470a6507 E / F\r\n"
             "rock 470a6507+ G / H\r\nmisc 470A65F7 \x1B[2JAC/DC / Back\xFF in Black\r\n"
             "data 12345678 Untitled Disc\r\n.\r\nmisc 470a6507 After / End\r\n";
    EXPECT_EQ(client.Query("q", matches), "211");
    ASSERT_EQ(matches.size(), 2u);   // up to the line that ends the list
    EXPECT_EQ(Fields(matches[0]), "|misc|470A65F7|[2JAC/DC|Back\xEF\xBF\xBD in Black");
    EXPECT_EQ(Fields(matches[1]), "|data|12345678|Untitled Disc|Untitled Disc");
    EXPECT_TRUE(client.Problem().empty());
    matches.clear();
    answer = "200 rock&cmd=evil 470a6507 A / B\r\n";
    EXPECT_EQ(client.Query("q", matches), "200");
    EXPECT_TRUE(matches.empty());
    EXPECT_NE(client.Problem().find("named no disc that can be asked for"), std::string::npos) << client.Problem();

    for (const auto& [body, code] : std::vector<std::pair<std::string, std::string>>{
             {"202 No match\r\n", "202"}, {"403 corrupt\r\n", "403"}, {"409 no handshake\r\n", "409"},
             {"500 error\r\n", "500"}, {"401 odd\r\n", "500"}, {"999 what\r\n", "500"}}) {
        answer = body;
        EXPECT_EQ(client.Query("q", matches), code) << body;
        EXPECT_TRUE(matches.empty());
        EXPECT_NE(client.Problem().find("(" + body.substr(0, 3) + ")"), std::string::npos) << client.Problem();
    }
    for (const char* noCode : {"", "2000 long\r\n", "20x y\r\n"}) {
        answer = noCode;
        EXPECT_THROW(client.Query("q", matches), std::runtime_error) << noCode;
    }
}

TEST_F(ClientTest, ReadEntryFillsTracksOnlyFrom210AndAsksOnlyForMatchesFitToAskFor)
{
    UseServer(server.address());
    CReadCDDB client;
    const CQueryResult match{"", "rock", "470a6507", "Artist", "Disc"};
    CD_TEXT_INFO tracks[2];
    answer = "210 rock 470a6507 entry\r\nDTITLE=The Band / Greatest\r\nTTITLE1=Two\r\n.\r\n";
    EXPECT_EQ(client.ReadEntry(&match, tracks, 2), "210");
    EXPECT_EQ(std::string(tracks[0].szArtist) + "|" + tracks[1].szTitle, "The Band|Two");
    EXPECT_EQ(server.requests().back().body.substr(0, 28), "cmd=cddb+read+rock+470a6507&");

    CD_TEXT_INFO untouched[2];
    for (const auto& [body, code, words] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"401 no entry\r\n", "401", "has no entry"}, {"402 server error\r\n", "402", "could not read"},
             {"403 corrupt\r\n", "403", "damaged"}, {"409 no handshake\r\n", "409", "greeting"},
             {"200 odd\r\n", "500", "answered 200 instead of the entry"}}) {
        answer = body + "DTITLE=Not / This\r\nTTITLE0=Nor this\r\n";
        EXPECT_EQ(client.ReadEntry(&match, untouched, 2), code);
        EXPECT_EQ(std::string(untouched[0].szArtist) + untouched[0].szTitle, "") << body;
        EXPECT_NE(client.Problem().find(words), std::string::npos) << client.Problem();
    }

    // A match the window or a caller made up is checked as a match line is, before any request.
    const auto asked = server.requests().size();
    for (const auto& [category, discId] : std::vector<std::pair<std::string, std::string>>{
             {"rock&cmd=evil", "470a6507"}, {"rock", "470a6507&x"}, {"rock", "0470a6507"}, {"", "470a6507"}}) {
        const CQueryResult made{"", category, discId, "A", "B"};
        EXPECT_EQ(client.ReadEntry(&made, untouched, 2), "") << category << " " << discId;
        EXPECT_FALSE(client.Problem().empty());
    }
    EXPECT_EQ(client.ReadEntry(nullptr, untouched, 2), "");
    EXPECT_EQ(server.requests().size(), asked);
}

TEST_F(ClientTest, UrlsAsServersAreRefusedAndSilentHugeFailingRedirectingOrUnreachableServersGiveNoAnswer)
{
    UseServer("http://example.org");
    EXPECT_THROW(CReadCDDB(), std::runtime_error);
    UseServer("127.0.0.1:8880");
    EXPECT_EQ(CReadCDDB().Url(), "http://127.0.0.1:8880/~cddb/cddb.cgi");
    EXPECT_THROW(CReadCDDB().SetServer("example.org/cgi-bin"), std::runtime_error);

    LoopbackHttpServer silent([](const auto&) { return LoopbackHttpServer::Reply{"", 200, true}; });
    LoopbackHttpServer huge([](const auto&) { return LoopbackHttpServer::Reply{std::string(3 << 20, 'x')}; });
    LoopbackHttpServer failing([](const auto&) { return LoopbackHttpServer::Reply{"500 oops\r\n", 500}; });
    // A redirect's body is no answer, and where it points is not asked.
    LoopbackHttpServer redirecting([&](const auto&) {
        return LoopbackHttpServer::Reply{"210 rock 470a6507 entry\r\nTTITLE0=Moved\r\n.\r\n", 302, false,
                                         "Location: http://" + server.address() + "/~cddb/cddb.cgi\r\n"};
    });
    answer = "210 rock 470a6507 entry\r\nTTITLE0=Moved\r\n.\r\n";
    for (const auto& [address, words] : std::vector<std::pair<std::string, std::string>>{
             {silent.address(), "did not answer"}, {huge.address(), "more than the 1048576 bytes"},
             {failing.address(), "did not answer"}, {redirecting.address(), "HTTP status 302"},
             {"127.0.0.1:" + std::to_string(UnusedLoopbackPort()), "did not answer"}}) {
        UseServer(address);
        CReadCDDB client;
        client.SetLimits({std::chrono::seconds(1), std::chrono::seconds(2), 1 << 20});
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(client.SendCommand("cddb+query+x").empty()) << address;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_NE(client.Problem().find(words), std::string::npos) << client.Problem();
    }
    EXPECT_TRUE(server.requests().empty());
}

}  // namespace
}  // namespace CDDB
