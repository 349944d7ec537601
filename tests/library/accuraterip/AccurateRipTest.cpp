#include "accuraterip/Database.h"
#include "accuraterip/DiscIds.h"
#include "accuraterip/TrackChecksums.h"
#include "rip/OutputNames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace AccurateRip {
namespace {

// 10 sectors of one sample value repeated: the sums have closed forms.
TrackChecksums OfConstant(std::uint32_t sample, bool first, bool last, std::size_t pieces = 1)
{
    constexpr std::size_t kFrames = 10 * kFramesPerSector;
    std::vector<unsigned char> pcm(kFrames * 4);
    for (std::size_t at = 0; at < pcm.size(); at += 4) std::memcpy(&pcm[at], &sample, 4);   // little-endian host
    TrackChecksums checksums(kFrames, first, last);
    for (std::size_t piece = 0; piece < pieces; ++piece)
        checksums.Add(pcm.data() + piece * pcm.size() / pieces, kFrames / pieces);
    return checksums;
}

std::uint32_t SumOfPositions(std::uint64_t from, std::uint64_t to)
{
    return static_cast<std::uint32_t>((from + to) * (to - from + 1) / 2);
}

TEST(AccurateRipTest, ChecksumsCountEveryPositionButTheDiscsEdgesInBothVersions)
{
    // Sample 1: each product is its position, both versions its sum. Sample 0xFFFFFFFF: position i
    // gives 2^32 - i below 2^32 and i - 1 above, so version 1 is minus the positions' sum and
    // version 2 minus their count.
    const struct {
        bool first, last;
        std::uint64_t from, to;
    } cases[] = {{false, false, 1, 5880}, {true, false, 2940, 5880}, {false, true, 1, 2940}, {true, true, 2940, 2940}};
    for (const auto& [first, last, from, to] : cases) {
        const auto ones = OfConstant(1, first, last, 3);
        EXPECT_EQ(std::pair(ones.V1(), ones.V2()), std::pair(SumOfPositions(from, to), SumOfPositions(from, to)));
        const auto full = OfConstant(0xFFFFFFFF, first, last);
        EXPECT_EQ(full.V1(), 0u - SumOfPositions(from, to)) << first << last;
        EXPECT_EQ(full.V2(), static_cast<std::uint32_t>(0u - (to - from + 1))) << first << last;
    }
    TrackChecksums crc(2, false, false);
    crc.Add(reinterpret_cast<const unsigned char*>("12345678"), 2);
    EXPECT_EQ(crc.Crc32(), 0x9AE0DAAFu);
}

std::string Little32Bytes(std::uint32_t value)
{
    std::string bytes;
    for (int byte = 0; byte < 4; ++byte) bytes += static_cast<char>(value >> (8 * byte));
    return bytes;
}

TEST(AccurateRipTest, TheDatabaseAnswerGivesOnlyWholeSubmissionsOfTheDiscAndTheBestMatchWins)
{
    const DiscIds disc{2, 100, 200, 0x0b000d02};
    const auto submission = [](const DiscIds& ids, int tracks, int confidence, std::uint32_t checksum) {
        std::string chunk(1, static_cast<char>(tracks));
        chunk += Little32Bytes(ids.id1) + Little32Bytes(ids.id2) + Little32Bytes(ids.cddb);
        for (int track = 0; track < tracks; ++track)
            chunk += static_cast<char>(confidence) + Little32Bytes(checksum + static_cast<std::uint32_t>(track)) +
                     Little32Bytes(0);
        return chunk;
    };
    DiscIds other = disc;
    other.cddb = 1;
    const std::string answer = submission(disc, 2, 3, 0x10) + submission(other, 2, 99, 0x20) + submission(disc, 3, 99, 0x20) +
                               submission(disc, 2, 9, 0x20) + submission(disc, 2, 200, 0x30).substr(0, 20);
    const Database database = ParseDatabase(answer, disc);
    ASSERT_EQ(database.submissions.size(), 2u);
    EXPECT_EQ(database.submissions[1][1].checksum, 0x21u);
    EXPECT_EQ(Judge(database, 1, 0x20, 0x10).Text(), "accurate (confidence 9, v1)");
    EXPECT_EQ(Judge(database, 2, 0x11, 0x21).Text(), "accurate (confidence 9, v2)");
    EXPECT_EQ(Judge(database, 2, 0x55, 0x66).Text(), "not accurate");
    EXPECT_EQ(Judge(database, 3, 0x12, 0x12).Text(), "not in the database");
    EXPECT_EQ(Judge({}, 1, 0x10, 0x10).Text(), "not in the database");
    EXPECT_EQ(TrackVerdict{}.Text("no answer from host (time-out)"), "not verified: no answer from host (time-out)");
    EXPECT_TRUE(ParseDatabase(std::string(12, '\x02'), disc).submissions.empty());
}

TEST(AccurateRipTest, DiscIdsCountAudioTracksAndTheLeadOutAndTheDataTrackOnlyInTheWeights)
{
    velmora::platform::CDROM_TOC toc{};
    toc.FirstTrack = 1;
    toc.LastTrack = 3;
    const int starts[] = {150, 300 + 150, 750 + 150, 975 + 150};   // frames, lead-in included; then the lead-out
    for (int at = 0; at < 4; ++at) {
        toc.TrackData[at].TrackNumber = static_cast<unsigned char>(at < 3 ? at + 1 : 0xAA);
        toc.TrackData[at].Address[1] = static_cast<unsigned char>(starts[at] / 4500);
        toc.TrackData[at].Address[2] = static_cast<unsigned char>(starts[at] / 75 % 60);
        toc.TrackData[at].Address[3] = static_cast<unsigned char>(starts[at] % 75);
    }
    DiscIds ids;
    ASSERT_TRUE(ComputeDiscIds(toc, ids));
    EXPECT_EQ(ids.DatabasePath(), "/accuraterip/9/e/7/dBAR-003-000007e9-00001a5f-0b000d03.bin");
    toc.TrackData[0].Control = velmora::platform::kDataTrackControl;
    ASSERT_TRUE(ComputeDiscIds(toc, ids));
    EXPECT_EQ(ids.Text().substr(0, 22), "002-000007e9-00001a5e-");   // the data track's start and weight go
    toc.TrackData[1].Control = toc.TrackData[2].Control = velmora::platform::kDataTrackControl;
    EXPECT_FALSE(ComputeDiscIds(toc, ids));
}

TEST(OutputNamesTest, TitlesBecomeSafeNamesCutOnCharacterBoundsAndCopiesAreNumbered)
{
    using MediaLibrary::Rip::CopyName;
    using MediaLibrary::Rip::TrackFileName;
    EXPECT_EQ(TrackFileName(3, "AC/DC: Live? \"Yes\" <no> |*\\", "mp3", 200), "03 - AC_DC_ Live_ _Yes_ _no_ ___.mp3");
    EXPECT_EQ(TrackFileName(12, "..hidden. ", "wav", 200), "12 - _.hidden.wav");
    EXPECT_EQ(TrackFileName(1, std::string("tab\there\x01\xff\xc3"), "wav", 200), "01 - tab_here___.wav");
    // An overlong '/', an encoded surrogate and a value past U+10FFFF are no characters either.
    EXPECT_EQ(TrackFileName(1, std::string("a\xe0\x80\xaf\xed\xa0\x80\xf4\x90\x80\x80"), "wav", 200),
              "01 - a__________.wav");
    EXPECT_EQ(TrackFileName(7, "", "wav", 200), "Track07.wav");
    EXPECT_EQ(TrackFileName(7, " / ", "wav", 200), "07 - _.wav");
    // Ä is two bytes: a cut inside one leaves it out whole.
    EXPECT_EQ(TrackFileName(2, "ÄÄÄ", "mp3", 5 + 5 + 3), "02 - ÄÄ.mp3");
    EXPECT_EQ(TrackFileName(2, "ÄÄÄ", "mp3", 5 + 4 + 3), "02 - Ä.mp3");
    EXPECT_EQ(TrackFileName(2, "Title", "mp3", 9), "");
    EXPECT_EQ(CopyName("01 - One.wav", 2), "01 - One (2).wav");
    EXPECT_EQ(CopyName("rip.log", 12), "rip (12).log");
}

}  // namespace
}  // namespace AccurateRip
