#include "CdImage.h"
#include "ScratchFolder.h"
#include "drives/CdDevice.h"
#include "drives/DriveTable.h"

#include <gtest/gtest.h>

namespace velmora::platform {
namespace {

using velmora::test::Little32;
using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;

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
    for (const auto& [root, type] : std::vector<std::pair<std::string, DriveType>>{
             {"X:\\", DriveType::CdRom}, {"d:\\", DriveType::CdRom}, {"C:\\", DriveType::NoRootDir},
             {"X:\\sub", DriveType::NoRootDir}, {"X", DriveType::NoRootDir}})
        EXPECT_EQ(table.TypeOfRoot(root), type) << root;

    // The variable comes before the setting.
    test::WriteFile(scratch / "velmora.conf", "Drives=Q=" + disc.cue.string() + "\n");
    ScopedEnvironment conf("VELMORA_CONF", (scratch / "velmora.conf").string());
    {
        ScopedEnvironment drives(DriveTable::kVariable, std::nullopt);
        EXPECT_NE(DriveTable::Load().Find('Q'), nullptr);
    }
    ScopedEnvironment drives(DriveTable::kVariable, "R=" + disc.cue.string());
    EXPECT_EQ(DriveTable::Load().Find('Q'), nullptr);
    EXPECT_EQ(DriveTable::Load().Find('R')->source, disc.cue);
}

TEST_F(DriveTableTest, AnAudioDiscShowsOneCdaRecordPerTrack)
{
    const auto table = DriveTable::FromParts({}, "X=" + disc.cue.string());
    EXPECT_EQ(table.FindFiles("X:\\*.cda"), (std::vector<std::string>{"Track01.cda", "Track02.cda", "Track03.cda"}));
    EXPECT_EQ(table.FindFiles("x:\\TRACK02.CDA"), std::vector<std::string>{"Track02.cda"});
    EXPECT_TRUE(table.FindFiles("X:\\*.wav").empty() && table.FindFiles("Z:\\*.cda").empty());

    const auto record = table.ReadFileHead("X:\\Track02.cda", 50);
    ASSERT_TRUE(record && record->size() == 44u);
    // Starts after the 4 s of track 1 and lasts 6 s; as MSF 00:06:00 with the lead-in, and 00:06:00.
    EXPECT_EQ(std::tuple(record->substr(0, 4), Little32(*record, 4), record->substr(8, 8), (*record)[22],
                         Little32(*record, 28), Little32(*record, 32), record->substr(36, 8)),
              std::tuple("RIFF", 36u, "CDDAfmt ", '\x02', 300u, 450u, std::string("\0\x06\0\0\0\x06\0\0", 8)));
    EXPECT_EQ(table.ReadFileHead("X:/track03.cda", 23)->size(), 23u);
    EXPECT_FALSE(table.ReadFileHead("X:\\Track04.cda", 50) || table.ReadFileHead("X:\\", 50));
}

TEST_F(DriveTableTest, TheImageGivesItsTableOfContentsInMsfForm)
{
    const auto device = CdDevice::Open({'X', DriveKind::DiscImage, disc.cue});
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->IsImage() && device->IsReady());
    EXPECT_TRUE(device->LockTray());   // no tray: nothing to lock, nothing fails
    CDROM_TOC toc;
    ASSERT_TRUE(device->ReadToc(toc));
    EXPECT_EQ(std::tuple(toc.FirstTrack, toc.LastTrack, toc.Length[0] * 256 + toc.Length[1]),
              std::tuple(1, 3, 2 + 4 * 8));
    const int seconds[] = {2, 6, 12, 15};
    for (int at = 0; at < 4; ++at) {
        EXPECT_EQ(std::tuple(toc.TrackData[at].Address[1], toc.TrackData[at].Address[2], toc.TrackData[at].Address[3]),
                  std::tuple(0, seconds[at], 0)) << at;
        EXPECT_TRUE(IsAudio(toc.TrackData[at])) << at;
    }
    EXPECT_EQ(toc.TrackData[3].TrackNumber, kLeadOutTrack);
    EXPECT_EQ(SectorOf(toc.TrackData[1]), 300);
    EXPECT_EQ(CdDevice::Open({'M', DriveKind::DiscImage, scratch / "missing.cue"}), nullptr);
    EXPECT_EQ(CdDevice::Open({'F', DriveKind::Folder, scratch.path()}), nullptr);
}

TEST_F(DriveTableTest, AMixedDiscShowsItsAudioTracksOnly)
{
    const auto table = DriveTable::FromParts({}, "X=" + test::WriteMixedCdImage(scratch.path()).string());
    EXPECT_EQ(table.FindFiles("X:\\*"), std::vector<std::string>{"Track02.cda"});
    EXPECT_FALSE(table.ReadFileHead("X:\\Track01.cda", 50));
    const auto device = CdDevice::Open(*table.Find('X'));
    CDROM_TOC toc;
    ASSERT_TRUE(device && device->ReadToc(toc));
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
    for (const char* outside : {"Y:\\..\\secret.txt", "Y:\\sub\\..\\..\\secret.txt", "Y:\\sub"})
        EXPECT_FALSE(table.ReadFileHead(outside, 50)) << outside;
    // A path that names no drive is an ordinary file.
    EXPECT_EQ(table.ReadFileHead((scratch / "secret.txt").string(), 7), "outside");
}

}  // namespace
}  // namespace velmora::platform
