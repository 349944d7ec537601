#include "CdImage.h"
#include "ScratchFolder.h"
#include "drives/DriveTable.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace velmora::platform
