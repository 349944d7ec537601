#include "CdImage.h"
#include "ScratchFolder.h"
#include "recorders/RecorderEnum.h"
#include "recorders/RecorderProbe.h"

#include <gtest/gtest.h>

namespace velmora::discburn {
namespace {

using velmora::test::ScopedEnvironment;
using velmora::test::ScratchFolder;
using velmora::test::WriteFile;

TEST(RecorderAddressTest, PseudoRecordersAndDevicesAreToldApart)
{
    const auto image = RecorderAddress::Parse("stdio:/discs/data.iso");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->kind, RecorderKind::ImageFile);
    EXPECT_EQ(image->path, "/discs/data.iso");
    EXPECT_EQ(image->uniqueId, "stdio:/discs/data.iso");
    const auto cue = RecorderAddress::Parse("cue:/discs/../audio.cue");
    ASSERT_TRUE(cue);
    EXPECT_EQ(cue->kind, RecorderKind::CueImage);
    EXPECT_EQ(cue->path, "/audio.cue");
    EXPECT_EQ(RecorderAddress::Parse("/dev/sr0")->kind, RecorderKind::Drive);
    EXPECT_FALSE(RecorderAddress::Parse("stdio:relative.iso"));
    EXPECT_FALSE(RecorderAddress::Parse("cue:"));
    EXPECT_FALSE(RecorderAddress::Parse(""));
    EXPECT_EQ(SplitRecorderList(" stdio:/a.iso ;; cue:/b.cue;"), (std::vector<std::string>{"stdio:/a.iso", "cue:/b.cue"}));
}

TEST(RecorderAddressTest, TheVariableComesBeforeTheSetting)
{
    ScratchFolder scratch;
    WriteFile(scratch / "velmora.conf", "Recorders=stdio:/from/setting.iso\n");
    ScopedEnvironment conf("VELMORA_CONF", (scratch / "velmora.conf").string());
    {
        ScopedEnvironment recorders("VELMORA_RECORDERS", std::nullopt);
        EXPECT_EQ(ConfiguredPseudoRecorders(), std::vector<std::string>{"stdio:/from/setting.iso"});
    }
    ScopedEnvironment recorders("VELMORA_RECORDERS", "cue:/from/variable.cue");
    EXPECT_EQ(ConfiguredPseudoRecorders(), std::vector<std::string>{"cue:/from/variable.cue"});
}

TEST(ClientNameTest, OnlyShortPlainNamesPass)
{
    EXPECT_TRUE(IsValidClientName(kClientName));
    EXPECT_TRUE(IsValidClientName("Disc copy: step 2, final_pass-1."));
    EXPECT_TRUE(IsValidClientName(std::string(63, 'a')));
    EXPECT_FALSE(IsValidClientName(std::string(64, 'a')));
    EXPECT_FALSE(IsValidClientName(""));
    EXPECT_FALSE(IsValidClientName("a/b"));
    EXPECT_FALSE(IsValidClientName("tab\there"));
}

class RecorderListTest : public ::testing::Test {
protected:
    std::vector<RecorderEntry> List(std::vector<std::string> ids)
    {
        CRecorderEnum recorders;
        recorders.CreateFrom(std::move(ids));
        return ListRecorders(recorders, [this](const std::string& text) { boxes.push_back(text); });
    }

    ScratchFolder scratch;
    ScopedEnvironment drives{"VELMORA_DRIVES", ""};
    std::vector<std::string> boxes;
};

TEST_F(RecorderListTest, NoRecordersSaysSoAndListsNothing)
{
    EXPECT_TRUE(List({}).empty());
    EXPECT_EQ(boxes, std::vector<std::string>{"There were no writable devices detected!"});
}

TEST_F(RecorderListTest, TheOnlyRecorderFailingToOpenIsNamed)
{
    EXPECT_TRUE(List({"stdio:/no/such/folder/disc.iso"}).empty());
    EXPECT_EQ(boxes, std::vector<std::string>{
                         "Failed to initialize recorder - Error:0x8ba00001\n\nRecorder Unique ID:stdio:/no/such/folder/disc.iso"});
}

TEST_F(RecorderListTest, OfSeveralRecordersAFailingOneIsLeftOutSilently)
{
    std::filesystem::create_directory(scratch / "folder");
    const auto entries = List({"stdio:/no/such/folder/disc.iso", "stdio:" + (scratch / "data.iso").string(),
                               "stdio:" + (scratch / "folder").string(), "cue:" + (scratch / "audio.cue").string()});
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text, (scratch / "data.iso").string());
    EXPECT_EQ(entries[0].device->uniqueId, "stdio:" + (scratch / "data.iso").string());
    EXPECT_EQ(entries[1].text, (scratch / "audio.cue").string());
}

TEST_F(RecorderListTest, ARecorderShowsTheDriveRootsOfItsImage)
{
    const auto disc = velmora::test::WriteCdImage(scratch.path(), "tones", {{4, 440}});
    ScopedEnvironment virtualDrives("VELMORA_DRIVES", "X=" + disc.cue.string() + ";Y=" + disc.cue.string());
    const auto entries = List({"cue:" + disc.cue.string()});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "X:\\,Y:\\");
    EXPECT_EQ(entries[0].device->VolumePath(1), "Y:\\");
    EXPECT_EQ(entries[0].device->VolumePath(2), "");
}

TEST_F(RecorderListTest, TheEnumerationAddsTheConfiguredPseudoRecorders)
{
    ScopedEnvironment recorders("VELMORA_RECORDERS", "stdio:" + (scratch / "a.iso").string());
    CRecorderEnum enumeration;
    ASSERT_TRUE(enumeration.Create());
    ASSERT_TRUE(enumeration.CheckEnvironment());
    EXPECT_EQ(enumeration.UniqueIdAt(enumeration.Count() - 1), "stdio:" + (scratch / "a.iso").string());
    EXPECT_EQ(enumeration.UniqueIdAt(enumeration.Count()), "");
    EXPECT_EQ(enumeration.ErrorText(), "IDiscMaster2->get_Item(" + std::to_string(enumeration.Count()) +
                                           ") failed! - Error:0x8ba00008");
}

TEST(RecorderDeviceTest, ExclusiveAccessIsOneClientsAtATime)
{
    ScratchFolder scratch;
    const std::string id = "stdio:" + (scratch / "disc.iso").string();
    CRecorderDevice first;
    CRecorderDevice second;
    ASSERT_TRUE(first.Open(id));
    ASSERT_TRUE(second.Open(id));
    EXPECT_FALSE(first.AcquireExclusive(std::string(64, 'a')));
    EXPECT_EQ(first.hr, kInvalidArgument);
    ASSERT_TRUE(first.AcquireExclusive(kClientName));
    EXPECT_FALSE(second.AcquireExclusive("Other Program"));
    EXPECT_EQ(second.hr, kRecorderBusy);
    EXPECT_EQ(second.ExclusiveOwner(), kClientName);
    EXPECT_TRUE(first.ReleaseExclusive());
    EXPECT_EQ(second.ExclusiveOwner(), "");
    EXPECT_TRUE(second.AcquireExclusive("Other Program"));
    EXPECT_TRUE(second.Eject());
    // Opening another recorder gives up the one held before.
    ASSERT_TRUE(second.Open("cue:" + (scratch / "music.cue").string()));
    EXPECT_TRUE(first.AcquireExclusive(kClientName));
}

TEST(RecorderDeviceTest, AnUnopenedRecorderRefusesEverything)
{
    CRecorderDevice device;
    EXPECT_FALSE(device.Open("stdio:/no/such/folder/disc.iso"));
    EXPECT_EQ(device.hr, kNoSuchRecorder);
    EXPECT_FALSE(device.AcquireExclusive(kClientName));
    EXPECT_FALSE(device.ReleaseExclusive());
    EXPECT_FALSE(device.Eject());
    EXPECT_EQ(device.ExclusiveOwner(), "");
    EXPECT_EQ(device.VolumePath(0), "");
}

TEST(RecorderProbeTest, TheModesWriterIsTriedAndTheRecorderStaysFree)
{
    ScratchFolder scratch;
    CRecorderDevice image;
    ASSERT_TRUE(image.Open("stdio:" + (scratch / "disc.iso").string()));
    EXPECT_TRUE(ProbeRecorder(image, 6));
    EXPECT_FALSE(image.HoldsDrive());
    EXPECT_FALSE(ProbeRecorder(image, kAudioBurnerMode));   // no audio into a data image
    CRecorderDevice cue;
    ASSERT_TRUE(cue.Open("cue:" + (scratch / "music.cue").string()));
    EXPECT_TRUE(ProbeRecorder(cue, kAudioBurnerMode));
    EXPECT_FALSE(ProbeRecorder(cue, 5));

    EXPECT_FALSE(image.HoldsDrive());
    EXPECT_FALSE(std::filesystem::exists(scratch / "disc.iso"));   // probing writes nothing
}

}  // namespace
}  // namespace velmora::discburn
