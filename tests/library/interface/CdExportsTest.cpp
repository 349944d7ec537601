#include "CdImage.h"
#include "Media.h"
#include "LumetraLibrary.h"
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
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;
using velmora::test::Little32;

// Three discs and a data folder, written once: tones of 4, 6 and 3 s; one track; a short
// tone followed by 183 s of silence.
class CdExportsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        discs = new ScratchFolder;
        tones = new velmora::test::CdImage(velmora::test::WriteCdImage(discs->path(), "tones", {{4, 440}, {6, 660}, {3, 880}}));
        single = new velmora::test::CdImage(velmora::test::WriteCdImage(discs->path(), "single", {{2, 523.25}}));
        silence = new velmora::test::CdImage(velmora::test::WriteCdImage(discs->path(), "silence", {{1, 300}, {183, 0}}));
        std::filesystem::create_directory(*discs / "data");
        velmora::test::WriteFile(*discs / "data" / "readme.txt", "a data disc");
    }
    static void TearDownTestSuite()
    {
        delete tones;
        delete single;
        delete silence;
        delete discs;
    }

    static int TextInfo(char drive, CD_TEXT_INFO* tracks, unsigned* count)
    {
        return library->Bind<Lumetra::GetCdTextInfoFn>("GET_CD_TEXT_INFO")(drive, tracks, count);
    }
    static int Rip(const std::string& source, const std::filesystem::path& output, int format = 1)
    {
        MEDIACONVERSIONINFO request;
        std::strncpy(request.szSourceFile, source.c_str(), sizeof request.szSourceFile - 1);
        std::strncpy(request.szOutputFile, output.c_str(), sizeof request.szOutputFile - 1);
        request.nOutputFormat = format;
        return library->Bind<Lumetra::ConvertFn>("Convert_CD_TO_MP3")(request);
    }
    // The records the window makes: one per .cda file of the root, its name in szTitle.
    static std::vector<CD_TEXT_INFO> RecordsFor(char drive)
    {
        std::vector<CD_TEXT_INFO> records;
        for (const auto& name : velmora::platform::DriveTable::Load().FindFiles(std::string{drive, ':', '\\', '*'} + ".cda")) {
            records.emplace_back();
            std::strcpy(records.back().szTitle, name.c_str());
        }
        return records;
    }
    std::filesystem::path RippedWav() const
    {
        return scratch / ("velmora-" + std::to_string(::getuid())) / "temp_xyz_media.wav";
    }

    static inline const velmora::test::LumetraLibrary* library = &velmora::test::LumetraLibrary::Instance();
    static inline ScratchFolder* discs = nullptr;
    static inline velmora::test::CdImage* tones = nullptr;
    static inline velmora::test::CdImage* single = nullptr;
    static inline velmora::test::CdImage* silence = nullptr;

    ScratchFolder scratch;
    ScopedEnvironment tmpdir{"TMPDIR", scratch.path().string()};
    ScopedEnvironment drives{velmora::platform::DriveTable::kVariable,
                             velmora::test::DriveList({{'D', tones->cue},
                                                       {'E', single->cue},
                                                       {'S', silence->cue},
                                                       {'M', *discs / "missing.cue"},
                                                       {'F', *discs / "data"}})};
};

TEST_F(CdExportsTest, TheTrackListComesInTwoCalls)
{
    unsigned count = 0;
    EXPECT_EQ(TextInfo('D', nullptr, &count), 6000);
    EXPECT_EQ(count, 3u);

    auto records = RecordsFor('D');
    ASSERT_EQ(records.size(), 3u);
    count = 3;
    EXPECT_EQ(TextInfo('D', records.data(), &count), 0);
    EXPECT_EQ(count, 3u);
    const char* lengths[] = {"0:04", "0:06", "0:03"};
    const char* sizes[] = {"0 MB", "1 MB", "0 MB"};   // 705,600, 1,058,400 and 529,200 bytes
    for (int at = 0; at < 3; ++at) {
        EXPECT_EQ(records[at].nTrackNo, at + 1);
        EXPECT_STREQ(records[at].szLength, lengths[at]);
        EXPECT_STREQ(records[at].szSize, sizes[at]);
        EXPECT_EQ(std::string(records[at].szPath), "D:\\Track0" + std::to_string(at + 1) + ".cda");
        EXPECT_STREQ(records[at].szArtist, "");
    }
}

TEST_F(CdExportsTest, ALongTrackShowsMinutesAndWholeMebibytes)
{
    auto records = RecordsFor('S');
    unsigned count = static_cast<unsigned>(records.size());
    ASSERT_EQ(TextInfo('S', records.data(), &count), 0);
    ASSERT_EQ(count, 2u);
    EXPECT_STREQ(records[1].szLength, "3:03");
    EXPECT_STREQ(records[1].szSize, "30 MB");   // 13,725 sectors of 2352 bytes
    EXPECT_EQ(records[1].nTrackNo, 2);
}

TEST_F(CdExportsTest, ASmallArrayIsNeverWrittenPast)
{
    std::vector<CD_TEXT_INFO> records(3);
    std::memset(static_cast<void*>(records.data()), 0x5A, records.size() * sizeof(CD_TEXT_INFO));
    const auto before = records;
    unsigned count = 2;
    EXPECT_EQ(TextInfo('D', records.data(), &count), 6000);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(std::memcmp(records.data(), before.data(), records.size() * sizeof(CD_TEXT_INFO)), 0);
}

TEST_F(CdExportsTest, SpareRecordsAndUnterminatedNamesAreLeftSafe)
{
    std::vector<CD_TEXT_INFO> records(3);
    std::memset(records[0].szTitle, 'a', sizeof records[0].szTitle);   // no terminator
    std::strcpy(records[2].szTitle, "spare");
    unsigned count = 3;
    EXPECT_EQ(TextInfo('E', records.data(), &count), 0);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(records[0].nTrackNo, -1);
    EXPECT_STREQ(records[0].szPath, "");
    EXPECT_STREQ(records[0].szLength, "0:02");
    EXPECT_STREQ(records[2].szPath, "");   // only the disc's one track is filled
}

TEST_F(CdExportsTest, ADriveWithoutAnAudioDiscGives6024)
{
    for (const char drive : {'Q', 'M', 'F'}) {
        unsigned count = 7;
        CD_TEXT_INFO records[7];
        EXPECT_EQ(TextInfo(drive, records, &count), 6024) << drive;
        EXPECT_EQ(count, 0u) << drive;
    }
    // The data disc shows its files and no track.
    const auto table = velmora::platform::DriveTable::Load();
    EXPECT_TRUE(table.FindFiles("F:\\*.cda").empty());
    EXPECT_EQ(table.FindFiles("F:\\*.txt"), std::vector<std::string>{"readme.txt"});
    EXPECT_EQ(table.TypeOfRoot("F:\\"), velmora::platform::DriveType::CdRom);
}

TEST_F(CdExportsTest, ARippedWavHoldsTheTrackExactly)
{
    const auto output = scratch / "track2.wav";
    velmora::test::WriteFile(output, "stale output");
    ASSERT_EQ(Rip("D:2", output), 0);

    const auto wav = velmora::test::ReadFile(output);
    ASSERT_EQ(wav.size(), 44 + tones->tracks[1].size());
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(Little32(wav, 4), tones->tracks[1].size() + 36);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Little32(wav, 24), 44100u);
    EXPECT_EQ(wav.substr(36, 4), "data");
    EXPECT_EQ(Little32(wav, 40), 6u * 176400);
    EXPECT_TRUE(wav.substr(44) == tones->tracks[1]) << "the samples differ from the image's";
    EXPECT_EQ(velmora::test::ReadFile(RippedWav()), wav);   // the temporary WAV stays
}

TEST_F(CdExportsTest, EachRipStartsFromNothing)
{
    ASSERT_EQ(Rip("D:3", scratch / "a.wav"), 0);
    ASSERT_EQ(Rip("e:1", scratch / "b.wav"), 0);
    ASSERT_EQ(Rip("D:1", scratch / "c.wav"), 0);
    EXPECT_TRUE(velmora::test::ReadFile(scratch / "a.wav").substr(44) == tones->tracks[2]);
    EXPECT_TRUE(velmora::test::ReadFile(scratch / "b.wav").substr(44) == single->tracks[0]);
    EXPECT_TRUE(velmora::test::ReadFile(scratch / "c.wav").substr(44) == tones->tracks[0]);
}

TEST_F(CdExportsTest, TracksThatAreNotOnTheDiscGive6023AndLeaveNoWav)
{
    for (const std::string source : {"D:0", "D:4", "D:3x", "D:", "D:99999999999999999999", "D:-1", "D:2 "}) {
        EXPECT_EQ(Rip(source, scratch / "out.wav"), 6023) << source;
        EXPECT_FALSE(std::filesystem::exists(RippedWav())) << source;
        EXPECT_FALSE(std::filesystem::exists(scratch / "out.wav")) << source;
    }
}

TEST_F(CdExportsTest, ADataTrackIsNoTrackToRip)
{
    velmora::test::WriteFile(scratch / "mixed.bin", std::string(2 * 75 * 2352 + 2 * 176400, '\x11'));
    velmora::test::WriteFile(scratch / "mixed.cue", "FILE \"mixed.bin\" BINARY\n"
                                                    "  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                                                    "  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n");
    ScopedEnvironment mixed(velmora::platform::DriveTable::kVariable, "X=" + (scratch / "mixed.cue").string());
    EXPECT_EQ(Rip("X:1", scratch / "data.wav"), 6023);
    ASSERT_EQ(Rip("X:2", scratch / "audio.wav"), 0);
    EXPECT_TRUE(velmora::test::ReadFile(scratch / "audio.wav").substr(44) == std::string(2 * 176400, '\x11'));
}

TEST_F(CdExportsTest, AMissingDiscOrDriveGives6022)
{
    EXPECT_EQ(Rip("M:1", scratch / "out.wav"), 6022);
    EXPECT_EQ(Rip("Q:1", scratch / "out.wav"), 6022);
    EXPECT_EQ(Rip("F:1", scratch / "out.wav"), 6022);
    EXPECT_EQ(Rip("/x", scratch / "out.wav"), 6022);
    EXPECT_FALSE(std::filesystem::exists(RippedWav()));
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
    const auto output = scratch / "track1.mp3";
    velmora::test::WriteFile(output, "stale output");
    EXPECT_EQ(Rip("E:1", output, 2), 0);
    EXPECT_TRUE(velmora::test::ReadFile(RippedWav()).substr(44) == single->tracks[0]);
    const auto report = velmora::test::DescribeWithFfmpeg(output);
    EXPECT_NE(report.find("Input #0, mp3, from"), std::string::npos) << report;
    EXPECT_NE(report.find("Duration: 00:00:02.0"), std::string::npos) << report;
}

TEST_F(CdExportsTest, TheCdExportsAreBoundByTheirExactNames)
{
    EXPECT_NO_THROW(library->Bind<void (*)()>("GET_CD_TEXT_INFO"));
    EXPECT_NO_THROW(library->Bind<void (*)()>("Convert_CD_TO_MP3"));
    EXPECT_THROW(library->Bind<void (*)()>("_ZN4CDDB8CCDTrack9OpenDriveEv"), std::runtime_error);
}

}  // namespace
