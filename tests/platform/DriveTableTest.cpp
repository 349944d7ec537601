#include "CdImage.h"
#include "ScratchFolder.h"
#include "drives/CdDevice.h"
#include "drives/DriveTable.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velmora::platform {
namespace {

using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;
using velmora::test::Little32;

class DriveTableTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    test::CdImage disc = test::WriteCdImage(scratch.path(), "tones", {{4, 440}, {6, 660}, {3, 880}});
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
    EXPECT_EQ(table.Find('D')->source, "/dev/sr0");
    EXPECT_EQ(table.Find('D')->kind, DriveKind::OpticalDevice);
    EXPECT_EQ(table.Find('E')->kind, DriveKind::DiscImage);   // the virtual drive replaces the second device
    EXPECT_EQ(table.Find('x')->source, disc.cue);
    EXPECT_EQ(table.Find('Y')->kind, DriveKind::Folder);
    EXPECT_EQ(table.Find('X')->Root(), "X:\\");

    EXPECT_EQ(table.TypeOfRoot("X:\\"), DriveType::CdRom);
    EXPECT_EQ(table.TypeOfRoot("d:\\"), DriveType::CdRom);
    EXPECT_EQ(table.TypeOfRoot("C:\\"), DriveType::NoRootDir);
    EXPECT_EQ(table.TypeOfRoot("X:\\sub"), DriveType::NoRootDir);
    EXPECT_EQ(table.TypeOfRoot("X"), DriveType::NoRootDir);
}

TEST_F(DriveTableTest, TheVariableComesBeforeTheSetting)
{
    test::WriteFile(scratch / "velmora.conf", "Drives=Q=" + disc.cue.string() + "\n");
    ScopedEnvironment conf("VELMORA_CONF", (scratch / "velmora.conf").string());
    {
        ScopedEnvironment drives(DriveTable::kVariable, std::nullopt);
        EXPECT_NE(DriveTable::Load().Find('Q'), nullptr);
    }
    ScopedEnvironment drives(DriveTable::kVariable, "R=" + disc.cue.string());
    const auto table = DriveTable::Load();
    EXPECT_EQ(table.Find('Q'), nullptr);
    ASSERT_NE(table.Find('R'), nullptr);
    EXPECT_EQ(table.Find('R')->source, disc.cue);
}

TEST_F(DriveTableTest, AnAudioDiscShowsOneCdaRecordPerTrack)
{
    const auto table = DriveTable::FromParts({}, "X=" + disc.cue.string());
    EXPECT_EQ(table.FindFiles("X:\\*.cda"), (std::vector<std::string>{"Track01.cda", "Track02.cda", "Track03.cda"}));
    EXPECT_EQ(table.FindFiles("x:\\TRACK02.CDA"), std::vector<std::string>{"Track02.cda"});
    EXPECT_TRUE(table.FindFiles("X:\\*.wav").empty());
    EXPECT_TRUE(table.FindFiles("Z:\\*.cda").empty());

    const auto record = table.ReadFileHead("X:\\Track02.cda", 50);
    ASSERT_TRUE(record);
    ASSERT_EQ(record->size(), 44u);
    EXPECT_EQ(record->substr(0, 4), "RIFF");
    EXPECT_EQ(Little32(*record, 4), 36u);
    EXPECT_EQ(record->substr(8, 8), "CDDAfmt ");
    EXPECT_EQ((*record)[22], 2);
    EXPECT_EQ(Little32(*record, 28), 300u);   // starts after the 4 s of track 1
    EXPECT_EQ(Little32(*record, 32), 450u);   // 6 s
    EXPECT_EQ(record->substr(36, 4), std::string("\0\x06\0\0", 4));   // 00:06:00 with the lead-in
    EXPECT_EQ(record->substr(40, 4), std::string("\0\x06\0\0", 4));

    EXPECT_EQ(table.ReadFileHead("X:/track03.cda", 23)->size(), 23u);
    EXPECT_FALSE(table.ReadFileHead("X:\\Track04.cda", 50));
    EXPECT_FALSE(table.ReadFileHead("X:\\", 50));
}

TEST_F(DriveTableTest, TheImageGivesItsTableOfContentsInMsfForm)
{
    const Drive drive{'X', DriveKind::DiscImage, disc.cue};
    const auto device = CdDevice::Open(drive);
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->IsImage());
    EXPECT_TRUE(device->IsReady());
    EXPECT_TRUE(device->LockTray());   // no tray: nothing to lock, nothing fails

    CDROM_TOC toc;
    ASSERT_TRUE(device->ReadToc(toc));
    EXPECT_EQ(toc.FirstTrack, 1);
    EXPECT_EQ(toc.LastTrack, 3);
    EXPECT_EQ(toc.Length[0] * 256 + toc.Length[1], 2 + 4 * 8);
    const int expected[][3] = {{0, 2, 0}, {0, 6, 0}, {0, 12, 0}, {0, 15, 0}};
    for (int at = 0; at < 4; ++at) {
        EXPECT_EQ(toc.TrackData[at].Address[1], expected[at][0]) << at;
        EXPECT_EQ(toc.TrackData[at].Address[2], expected[at][1]) << at;
        EXPECT_EQ(toc.TrackData[at].Address[3], expected[at][2]) << at;
        EXPECT_TRUE(IsAudio(toc.TrackData[at])) << at;
    }
    EXPECT_EQ(toc.TrackData[3].TrackNumber, kLeadOutTrack);
    EXPECT_EQ(SectorOf(toc.TrackData[1]), 300);

    EXPECT_EQ(CdDevice::Open({'M', DriveKind::DiscImage, scratch / "missing.cue"}), nullptr);
    EXPECT_EQ(CdDevice::Open({'F', DriveKind::Folder, scratch.path()}), nullptr);
}

TEST_F(DriveTableTest, AMixedDiscShowsItsAudioTracksOnly)
{
    // A data track of 2 s, then two seconds of audio.
    test::WriteFile(scratch / "mixed.bin", std::string(2 * 75 * 2352 + 2 * 176400, '\0'));
    test::WriteFile(scratch / "mixed.cue", "FILE \"mixed.bin\" BINARY\n"
                                           "  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
                                           "  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n");
    const auto table = DriveTable::FromParts({}, "X=" + (scratch / "mixed.cue").string());
    EXPECT_EQ(table.FindFiles("X:\\*"), std::vector<std::string>{"Track02.cda"});
    EXPECT_FALSE(table.ReadFileHead("X:\\Track01.cda", 50));

    const auto device = CdDevice::Open(*table.Find('X'));
    ASSERT_NE(device, nullptr);
    CDROM_TOC toc;
    ASSERT_TRUE(device->ReadToc(toc));
    EXPECT_FALSE(IsAudio(toc.TrackData[0]));
    EXPECT_TRUE(IsAudio(toc.TrackData[1]));
}

TEST_F(DriveTableTest, AFolderStandsForADataDisc)
{
    const auto folder = scratch / "data";
    std::filesystem::create_directories(folder / "sub");
    test::WriteFile(folder / "b.wav", "wave");
    test::WriteFile(folder / "a.WAV", "other wave");
    test::WriteFile(folder / "notes.txt", "notes");
    test::WriteFile(folder / "sub" / "deep.txt", "deep");
    test::WriteFile(scratch / "secret.txt", "outside the disc");
    const auto table = DriveTable::FromParts({}, "Y=" + folder.string());

    EXPECT_EQ(table.FindFiles("Y:\\*.wav"), (std::vector<std::string>{"a.WAV", "b.wav"}));
    EXPECT_TRUE(table.FindFiles("Y:\\*.cda").empty());
    EXPECT_EQ(table.ReadFileHead("Y:\\notes.txt", 3), "not");
    EXPECT_EQ(table.ReadFileHead("Y:\\sub\\deep.txt", 50), "deep");
    EXPECT_FALSE(table.ReadFileHead("Y:\\..\\secret.txt", 50));
    EXPECT_FALSE(table.ReadFileHead("Y:\\sub\\..\\..\\secret.txt", 50));
    EXPECT_FALSE(table.ReadFileHead("Y:\\sub", 50));

    // A path that names no drive is an ordinary file.
    EXPECT_EQ(table.ReadFileHead((scratch / "secret.txt").string(), 7), "outside");
}

}  // namespace
}  // namespace velmora::platform
