#include "CdImage.h"
#include "ScratchFolder.h"
#include "drives/CdToc.h"
#include "drives/CueSheet.h"
#include "drives/DriveTable.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace velmora::platform {
namespace {

using namespace velmora::test;

class DriveTableTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    CdImage disc = WriteCdImage(scratch.path(), "tones", {{4, 440}, {6, 660}, {3, 880}});
};

TEST_F(DriveTableTest, DevicesTakeLettersFromDAndVirtualDrivesTakeTheirOwn)
{
    std::filesystem::create_directory(scratch / "folder");
    const auto table = DriveTable::FromParts(
        {"/dev/sr0", "/dev/sr1"},
        "x=" + disc.cue.string() + " ; Y = " + (scratch / "folder").string() + ";bad;ZZ=/x;Q=;E=/elsewhere.cue");
    std::string letters;
    for (const auto& drive : table.Drives()) letters += drive.letter;
    EXPECT_EQ(letters, "DEXY");
    EXPECT_EQ(std::tuple(table.Find('D')->source, table.Find('D')->kind),
              std::tuple("/dev/sr0", DriveKind::OpticalDevice));
    EXPECT_EQ(table.Find('E')->kind, DriveKind::DiscImage);   // the virtual drive replaces the second device
    EXPECT_EQ(std::tuple(table.Find('x')->source, table.Find('Y')->kind), std::tuple(disc.cue, DriveKind::Folder));
    for (const auto& [root, type] : std::vector<std::pair<std::string, DriveType>>{
             {"X:\\", DriveType::CdRom}, {"d:\\", DriveType::CdRom}, {"C:\\", DriveType::NoRootDir},
             {"X:\\sub", DriveType::NoRootDir}, {"X", DriveType::NoRootDir}})
        EXPECT_EQ(table.TypeOfRoot(root), type) << root;

    // The variable comes before the setting.
    WriteFile(scratch / "velmora.conf", "Drives=Q=" + disc.cue.string() + "\n");
    const ScopedEnvironment conf("VELMORA_CONF", (scratch / "velmora.conf").string());
    {
        const ScopedEnvironment drives(DriveTable::kVariable, std::nullopt);
        EXPECT_NE(DriveTable::Load().Find('Q'), nullptr);
    }
    const ScopedEnvironment drives(DriveTable::kVariable, "R=" + disc.cue.string());
    EXPECT_EQ(DriveTable::Load().Find('Q'), nullptr);
    EXPECT_EQ(DriveTable::Load().Find('R')->source, disc.cue);
}

TEST_F(DriveTableTest, TracksShowAsCdaRecordsAndAFolderAsADataDiscWithNothingOutsideIt)
{
    const auto mixed = WriteMixedCdImage(scratch.path());
    const auto table = DriveTable::FromParts({}, DriveList({{'X', disc.cue}, {'M', mixed}}));
    EXPECT_EQ(table.FindFiles("X:\\*.cda"), (std::vector<std::string>{"Track01.cda", "Track02.cda", "Track03.cda"}));
    EXPECT_EQ(table.FindFiles("x:\\TRACK02.CDA"), std::vector<std::string>{"Track02.cda"});
    EXPECT_EQ(table.FindFiles("M:\\*"), std::vector<std::string>{"Track02.cda"});
    EXPECT_TRUE(table.FindFiles("X:\\*.wav").empty() && table.FindFiles("Z:\\*.cda").empty());

    const auto record = table.ReadFileHead("X:\\Track02.cda", 50);
    ASSERT_TRUE(record && record->size() == 44u);
    EXPECT_EQ(std::tuple(record->substr(0, 4), record->substr(8, 8), (*record)[22]),
              std::tuple("RIFF", "CDDAfmt ", '\x02'));
    EXPECT_EQ(table.ReadFileHead("X:/track03.cda", 23)->size(), 23u);
    for (const char* none : {"X:\\Track04.cda", "X:\\", "M:\\Track01.cda"}) EXPECT_FALSE(table.ReadFileHead(none, 50));

    // A folder stands for a data disc, and nothing outside it is read.
    const auto folder = scratch / "data";
    std::filesystem::create_directories(folder / "sub");
    WriteFile(folder / "b.wav", "wave");
    WriteFile(folder / "a.WAV", "other wave");
    WriteFile(folder / "notes.txt", "notes");
    WriteFile(folder / "sub" / "deep.txt", "deep");
    WriteFile(scratch / "secret.txt", "outside the disc");
    const auto folders = DriveTable::FromParts({}, "Y=" + folder.string());
    EXPECT_EQ(folders.FindFiles("Y:\\*.wav"), (std::vector<std::string>{"a.WAV", "b.wav"}));
    EXPECT_TRUE(folders.FindFiles("Y:\\*.cda").empty());
    EXPECT_EQ(folders.ReadFileHead("Y:\\notes.txt", 3), "not");
    EXPECT_EQ(folders.ReadFileHead("Y:\\sub\\deep.txt", 50), "deep");
    for (const char* outside : {"Y:\\..\\secret.txt", "Y:\\sub\\..\\..\\secret.txt", "Y:\\sub"})
        EXPECT_FALSE(folders.ReadFileHead(outside, 50)) << outside;
    // A path that names no drive is an ordinary file.
    EXPECT_EQ(folders.ReadFileHead((scratch / "secret.txt").string(), 7), "outside");
}

// A sheet of three tracks starting at 0, 4 and 10 s in d.bin, with the commands libcdio also reads.
std::string Sheet(const std::string& track1 = "01", const std::string& start3 = "00:10:00")
{
    return "REM GENRE Test\r\nPERFORMER \"Someone\"\r\nFILE \"d.bin\" BINARY\r\n  TRACK " + track1 +
           " AUDIO\r\n    TITLE \"One\"\r\n    INDEX 01 00:00:00\r\n  TRACK 02 AUDIO\r\n    FLAGS DCP\r\n"
           "    INDEX 00 00:03:70\r\n    INDEX 01 00:04:00\r\n  TRACK 03 MODE1/2352\r\n    PREGAP 00:02:00\r\n"
           "    INDEX 01 " + start3 + "\r\n";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    return text.replace(text.find(from), from.size(), to);
}

TEST(CueSheetTest, OnlyOneBinaryFileWithTracksFromOneInOrderAndDataForTheLastOnePasses)
{
    constexpr std::uint64_t kSector = kAudioSectorBytes, kEnough = 751 * kSector;
    EXPECT_EQ(CheckCueSheet(Sheet(), "d.bin", kEnough), "");
    EXPECT_EQ(CheckCueSheet(Sheet("1", "0:10:00"), "d.bin", kEnough), "");
    const std::string huge = std::string(kCueSheetLimit, '\n') + Sheet();
    for (const auto& [text, bytes, problem] : std::vector<std::tuple<std::string, std::uint64_t, std::string>>{
             {Sheet(), 750 * kSector + kSector - 1, "d.bin ends at 0:10, before track 3 begins at 0:10"},
             {Sheet(), 450000 * kSector, "more than a CD can"},
             {Sheet("70"), kEnough, "line 4: track 70 where track 1 must come"},
             {Replaced(Sheet(), "TRACK 02", "TRACK 03"), kEnough, "line 7: track 3 where track 2 must come"},
             {Sheet("01", "00:03:00"), kEnough, "line 13: INDEX 01 of track 3 lies before"},
             {Replaced(Sheet(), "INDEX 00 00:03:70", "INDEX 00 00:04:01"), kEnough, "INDEX 01 of track 2 lies before"},
             {Replaced(Sheet(), "INDEX 01 00:04:00", "REM"), kEnough, "line 11: track 2 has no INDEX 01"},
             {Replaced(Sheet(), "    INDEX 01 00:10:00", ""), kEnough, "track 3 has no INDEX 01"},
             {Replaced(Sheet(), "  TRACK 03", "FILE \"d.bin\" BINARY\n  TRACK 03"), kEnough, "a second FILE line"},
             {Replaced(Sheet(), "\"d.bin\"", "\"other.bin\""), kEnough, "the data must be in d.bin"},
             {Replaced(Sheet(), "\"d.bin\"", "d.bin"), kEnough, "in quotes"},
             {Replaced(Sheet(), "BINARY", "WAVE"), kEnough, "of type BINARY"},
             {Replaced(Sheet(), "MODE1/2352", "MODE1/2048"), kEnough, "a TRACK line must be"},
             {Replaced(Sheet(), "TRACK 02", "TRACK 100"), kEnough, "a TRACK line must be"},
             {Replaced(Sheet(), "00:04:00", "00:60:00"), kEnough, "INDEX nn mm:ss:ff"},
             {Replaced(Sheet(), "REM GENRE", "CDTEXTFILE \"t.bin\"\nREM"), kEnough, "\"CDTEXTFILE\" is not a cue"},
             {Replaced(Sheet(), "  TRACK 02", "  track 02"), kEnough, "\"track\" is not a cue"},
             {Replaced(Sheet(), "Test", std::string("T\0\nTRACK 70", 10)), kEnough, "line 1: a control character"},
             // libcdio reads a long line in parts, the last of which would be a line of its own.
             {Replaced(Sheet(), "Test", std::string(kCueLineLimit, ' ') + "TRACK 70 AUDIO"), kEnough, "line 1: longer"},
             {huge, kEnough, "longer than 64 KiB"},
             {"REM nothing\n", kEnough, "no tracks"}})
        EXPECT_NE(CheckCueSheet(text, "d.bin", bytes).find(problem), std::string::npos)
            << problem << ": " << CheckCueSheet(text, "d.bin", bytes);
}

TEST_F(DriveTableTest, AnImageIsCheckedByItsFilesWithoutWaitingOnAnyOfThem)
{
    EXPECT_EQ(CheckDiscImage(disc.cue), "");
    // libcdio reads the data of x.cue from x.bin, so that is the file checked.
    std::filesystem::copy_file(disc.cue, scratch / "copy.cue");
    EXPECT_NE(CheckDiscImage(scratch / "copy.cue").find("copy.bin cannot be opened: No such file"), std::string::npos);
    std::filesystem::resize_file(scratch / "tones.bin", 10 * 75 * kAudioSectorBytes);
    EXPECT_NE(CheckDiscImage(disc.cue).find("tones.bin ends at 0:10, before track 3"), std::string::npos);

    ASSERT_EQ(::mkfifo((scratch / "fifo.bin").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((scratch / "pipe.cue").c_str(), 0600), 0);
    WriteFile(scratch / "fifo.cue", "FILE \"fifo.bin\" BINARY\n TRACK 01 AUDIO\n INDEX 01 00:00:00\n");
    WriteFile(scratch / "huge.cue", std::string(kCueSheetLimit + 1, '\n'));
    for (const auto& [cue, problem] : std::vector<std::pair<std::string, std::string>>{
             {"fifo.cue", "fifo.bin is not a regular file"}, {"pipe.cue", "pipe.cue is not a regular file"},
             {"huge.cue", "longer than 64 KiB"}, {"tones.bin", "named by its .cue file"}})
        EXPECT_NE(CheckDiscImage(scratch / cue).find(problem), std::string::npos) << cue;
}

}  // namespace
}  // namespace velmora::platform
