// A disc rip on images the tests write, verified against a loopback AccurateRip server that serves
// a database the test builds; read errors injected between the paranoia reader and the image.

#include "CdImage.h"
#include "LoopbackHttpServer.h"
#include "ScratchFolder.h"
#include "accuraterip/TrackChecksums.h"
#include "audio/SectorReads.h"
#include "drives/DriveTable.h"
#include "interface/Failure.h"
#include "rip/DiscRip.h"

#include <cdio/paranoia/cdda.h>
#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace MediaLibrary::Rip {
namespace {

using namespace velmora::test;
namespace fs = std::filesystem;

std::string Little32Bytes(std::uint32_t value)
{
    std::string bytes;
    for (int byte = 0; byte < 4; ++byte) bytes += static_cast<char>(value >> (8 * byte));
    return bytes;
}

// One submission of the database: the disc's ids, then confidence and checksum per track.
std::string Submission(const AccurateRip::DiscIds& ids, const std::vector<std::pair<int, std::uint32_t>>& tracks)
{
    std::string chunk(1, static_cast<char>(tracks.size()));
    chunk += Little32Bytes(ids.id1) + Little32Bytes(ids.id2) + Little32Bytes(ids.cddb);
    for (const auto& [confidence, checksum] : tracks)
        chunk += static_cast<char>(confidence) + Little32Bytes(checksum) + Little32Bytes(0);
    return chunk;
}

AccurateRip::TrackChecksums ChecksumsOf(const std::string& pcm, bool first, bool last)
{
    AccurateRip::TrackChecksums checksums(static_cast<std::int64_t>(pcm.size() / 4), first, last);
    checksums.Add(reinterpret_cast<const unsigned char*>(pcm.data()), pcm.size() / 4);
    return checksums;
}

class DiscRipTest : public ::testing::Test {
protected:
    DiscRipTest()
    {
        fs::create_directory(out);
        WriteFile(scratch / "velmora.conf", "AccurateRipServer=" + server.address() + "\n");
    }

    std::unique_ptr<DiscRip> Begin(Header::OutputFormat format)
    {
        Header::MEDIACONVERSIONINFO quality;
        quality.nOutputFormat = format;
        return DiscRip::Begin('D', out, quality);
    }
    std::vector<std::string> Files() const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(out)) names.insert(entry.path().filename().string());
        return {names.begin(), names.end()};
    }

    ScratchFolder scratch;
    fs::path out = scratch / "out";
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
    ScopedEnvironment conf{"VELMORA_CONF", (scratch / "velmora.conf").string()};
    CdImage disc = WriteCdImage(scratch.path(), "tones", {{4, 440}, {6, 660}, {3, 880}},
                                {"The Band", "Greatest Hits", {"One", "Two/Three: Live?", ""}});
    ScopedEnvironment drives{velmora::platform::DriveTable::kVariable, DriveList({{'D', disc.cue}})};
    LoopbackHttpServer::Reply answer{"", 404};
    LoopbackHttpServer server{[this](const auto&) { return answer; }};
};

TEST_F(DiscRipTest, EachTrackGoesIntoAFileNamedByItsTitleBesideEarlierOnesAndIsJudgedByTheDatabase)
{
    // The database knows track 1 by its v2 checksum, track 2 by its v1 one in a second submission,
    // and track 3 by another checksum; a submission for another disc and a cut-off tail are left out.
    const auto one = ChecksumsOf(disc.tracks[0], true, false), two = ChecksumsOf(disc.tracks[1], false, false);
    AccurateRip::DiscIds ids{3, 0x7e9, 0x1a5f, 0x0b000d03};
    AccurateRip::DiscIds other = ids;
    other.id1 += 1;
    answer = {Submission(ids, {{5, one.V2()}, {1, 7}, {2, 9}}) + Submission(other, {{60, one.V1()}, {60, 0}, {60, 0}}) +
              Submission(ids, {{3, one.V1()}, {4, two.V1()}, {8, 10}}) + "\x03\x01"};
    WriteFile(out / "01 - One.wav", "earlier");
    auto rip = Begin(Header::kFormatWav);
    ASSERT_TRUE(rip) << LastFailure();
    EXPECT_EQ(server.requests().at(0).target, "/accuraterip/9/e/7/dBAR-003-000007e9-00001a5f-0b000d03.bin");
    std::vector<std::string> verdicts;
    for (int track = 1; track <= 3; ++track) {
        const RippedTrack ripped = rip->RipTrack(track);
        ASSERT_EQ(ripped.result, 0) << LastFailure();
        const std::string wav = ReadFile(ripped.file);
        EXPECT_TRUE(wav.size() > 44 && wav.substr(44) == disc.tracks[static_cast<std::size_t>(track - 1)]) << track;
        verdicts.push_back(ripped.file.filename().string() + ": " + ripped.verdictText);
    }
    EXPECT_EQ(verdicts, (std::vector<std::string>{"01 - One (2).wav: accurate (confidence 5, v2)",
                                                  "02 - Two_Three_ Live_.wav: accurate (confidence 4, v1)",
                                                  "Track03.wav: not accurate"}));
    EXPECT_EQ(ReadFile(out / "01 - One.wav"), "earlier");
    EXPECT_EQ(rip->RipTrack(4).result, 6023);

    const auto log = rip->Finish();
    EXPECT_EQ(log, out / "rip.log");
    const std::string text = ReadFile(log);
    for (const std::string line : {"Lumetra 1.2 - rip log", "Read offset:        0 samples", "Titles:             CD-TEXT",
                                   "AccurateRip disc:   003-000007e9-00001a5f-0b000d03",
                                   "CDDB disc:          0b000d03+3+150+450+900+15", "  Duration:         0:04.00",
                                   "  Paranoia:         exact", "  AccurateRip:      accurate (confidence 5, v2)",
                                   "  Paranoia:         failed: there is no audio track D:4", "3 of 4 tracks ripped exactly"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", one.Crc32());
    EXPECT_NE(text.find(std::string("  CRC32:            ") + crc), std::string::npos);
    // A second log goes beside the first.
    EXPECT_EQ(Begin(Header::kFormatWav)->Finish(), out / "rip (2).log");
}

TEST_F(DiscRipTest, Mp3FilesCarryTheChosenEntrysTagsAndADiscTheDatabaseDoesNotKnowIsSaidSo)
{
    const auto plain = WriteCdImage(scratch.path(), "plain", {{2, 440}, {3, 660}});
    const ScopedEnvironment plainDrive{velmora::platform::DriveTable::kVariable, DriveList({{'D', plain.cue}})};
    RememberChosenTitles('D', "06000502+2+150+300+7", {"CDDB rock 06000502", "Ärtist", "Album", "1999", "Rock", {"Ünö", ""}});
    RememberChosenTitles('E', "06000502+2+150+300+7", {"CDDB jazz 06000502", "Other", "Other", "", "", {"X", "Y"}});
    auto rip = Begin(Header::kFormatMp3);
    ASSERT_TRUE(rip) << LastFailure();
    const RippedTrack first = rip->RipTrack(1), second = rip->RipTrack(2);
    ASSERT_EQ(first.result + second.result, 0) << LastFailure();
    EXPECT_EQ(first.verdictText, "not in the database");
    EXPECT_EQ(Files(), (std::vector<std::string>{"01 - Ünö.mp3", "Track02.mp3"}));

    TagLib::MPEG::File mp3((out / "01 - Ünö.mp3").c_str());
    ASSERT_TRUE(mp3.hasID3v2Tag());
    auto* tag = mp3.ID3v2Tag();
    EXPECT_EQ(tag->header()->majorVersion(), 4u);
    const auto frame = [&](const char* id) { return tag->frameListMap()[id].isEmpty() ? std::string() : tag->frameListMap()[id].front()->toString().to8Bit(true); };
    EXPECT_EQ(frame("TIT2") + "|" + frame("TPE1") + "|" + frame("TALB") + "|" + frame("TRCK") + "|" + frame("TDRC") + "|" +
                  frame("TCON"),
              "Ünö|Ärtist|Album|1/2|1999|Rock");
    EXPECT_NEAR(TagLib::FileRef((out / "Track02.mp3").c_str()).audioProperties()->lengthInMilliseconds(), 3000, 100);
}

TEST_F(DiscRipTest, ATrackWithASectorTheDriveCannotReadFailsWithItsPositionAndLeavesNoFile)
{
    // The drive reads up to sector 320 (track 2 starts at 300) and no further, every time.
    Audio::ScopedSectorReadFilter faults([](Audio::SectorRead read, cdrom_drive_t* drive, void* buffer, lsn_t first, long sectors) {
        const long got = read(drive, buffer, first, sectors);
        if (got <= 0 || first > 320 || 320 >= first + got) return got;
        std::memset(static_cast<char*>(buffer) + (320 - first) * CDIO_CD_FRAMESIZE_RAW, 0,
                    static_cast<std::size_t>(first + got - 320) * CDIO_CD_FRAMESIZE_RAW);
        return first == 320 ? -1L : static_cast<long>(320 - first);
    });
    auto rip = Begin(Header::kFormatWav);
    ASSERT_TRUE(rip) << LastFailure();
    const RippedTrack failed = rip->RipTrack(2);
    EXPECT_EQ(failed.result, 6022);
    EXPECT_NE(LastFailure().find("track D:2 could not be read exactly: sector 320 (from 0:00.20 into the track) failed"),
              std::string::npos)
        << LastFailure();
    EXPECT_TRUE(failed.file.empty());
    EXPECT_EQ(failed.verdictText, "not verified: the track was not ripped");
    EXPECT_EQ(Files(), std::vector<std::string>{});
    // The track before it reads past its end into the bad sector, which is none of its business.
    const RippedTrack first = rip->RipTrack(1);
    ASSERT_EQ(first.result, 0) << LastFailure();
    EXPECT_TRUE(ReadFile(first.file).substr(44) == disc.tracks[0]);
    const std::string log = ReadFile(rip->Finish());
    EXPECT_NE(log.find("  Paranoia:         failed: track D:2 could not be read exactly: sector 320"), std::string::npos)
        << log;
}

TEST_F(DiscRipTest, TheReadOffsetShiftsTheSamplesAndNoAnswerFromTheServerLeavesTheRipUnverified)
{
    const std::string all = disc.tracks[0] + disc.tracks[1] + disc.tracks[2];
    const LoopbackHttpServer::Reply none{"", 200, true};
    answer = none;
    for (const int offset : {30, -30, 0}) {
        WriteFile(scratch / "velmora.conf", "AccurateRipServer=127.0.0.1:" + std::to_string(UnusedLoopbackPort()) +
                                                "\nReadOffset=" + std::to_string(offset) + "\n");
        fs::remove_all(out);
        fs::create_directory(out);
        auto rip = Begin(Header::kFormatWav);
        ASSERT_TRUE(rip) << LastFailure();
        for (const int track : {1, 3}) {
            const RippedTrack ripped = rip->RipTrack(track);
            ASSERT_EQ(ripped.result, 0) << LastFailure();
            EXPECT_EQ(ripped.verdictText.rfind("not verified: no answer from 127.0.0.1:", 0), 0u) << ripped.verdictText;
            // Silence stands in for what lies before the disc's start and after its end.
            const std::string padded = std::string(30 * 4, '\0') + all + std::string(30 * 4, '\0');
            const std::size_t start = (track == 1 ? 0 : disc.tracks[0].size() + disc.tracks[1].size()) + (30 + offset) * 4;
            const std::size_t length = disc.tracks[static_cast<std::size_t>(track - 1)].size();
            EXPECT_TRUE(ReadFile(ripped.file).substr(44) == padded.substr(start, length)) << offset << " " << track;
        }
        EXPECT_NE(ReadFile(rip->Finish()).find("Read offset:        " + std::to_string(offset) + " samples"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace MediaLibrary::Rip
