#include "CdImage.h"
#include "ScratchFolder.h"
#include "recorders/RecorderEnum.h"
#include "recorders/RecorderProbe.h"

#include <gtest/gtest.h>

namespace velmora::discburn {
namespace {

using namespace velmora::test;

TEST(RecorderAddressTest, PseudoRecordersAndDevicesAreToldApart)
{
    for (const auto& [id, kind, path] : std::vector<std::tuple<std::string, RecorderKind, std::string>>{
             {"stdio:/discs/data.iso", RecorderKind::ImageFile, "/discs/data.iso"},
             {"cue:/discs/../audio.cue", RecorderKind::CueImage, "/audio.cue"},
             {"/dev/sr0", RecorderKind::Drive, "/dev/sr0"}}) {
        const auto address = RecorderAddress::Parse(id);
        ASSERT_TRUE(address) << id;
        EXPECT_EQ(std::tuple(address->kind, address->path.string(), address->uniqueId), std::tuple(kind, path, id));
    }
    for (const char* wrong : {"stdio:relative.iso", "cue:", ""}) EXPECT_FALSE(RecorderAddress::Parse(wrong)) << wrong;
    EXPECT_EQ(SplitRecorderList(" stdio:/a.iso ;; cue:/b.cue;"),
              (std::vector<std::string>{"stdio:/a.iso", "cue:/b.cue"}));

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
    for (const auto& [name, valid] : std::vector<std::pair<std::string, bool>>{
             {kClientName, true}, {"Disc copy: step 2, final_pass-1.", true}, {std::string(63, 'a'), true},
             {std::string(64, 'a'), false}, {"", false}, {"a/b", false}, {"tab\there", false}})
        EXPECT_EQ(IsValidClientName(name), valid) << name;
}

class RecorderListTest : public ::testing::Test {
protected:
    std::vector<RecorderEntry> List(std::vector<std::string> ids)
    {
        CRecorderEnum recorders;
        recorders.CreateFrom(std::move(ids));
        return ListRecorders(recorders, [this](const std::string& text) { boxes.push_back(text); });
    }
    std::vector<std::string> Texts(const std::vector<RecorderEntry>& entries) const
    {
        std::vector<std::string> texts;
        for (const auto& entry : entries) texts.push_back(entry.text);
        return texts;
    }

    ScratchFolder scratch;
    ScopedEnvironment drives{"VELMORA_DRIVES", ""};
    std::vector<std::string> boxes;
};

TEST_F(RecorderListTest, TheErrorBoxTellsOfNoRecordersAndOfTheOnlyOneFailingButNotOfOneOfSeveral)
{
    std::filesystem::create_directory(scratch / "folder");
    const auto entries = List({"stdio:/no/such/folder/disc.iso", "stdio:" + (scratch / "data.iso").string(),
                               "stdio:" + (scratch / "folder").string(), "cue:" + (scratch / "audio.cue").string()});
    EXPECT_EQ(Texts(entries), (std::vector<std::string>{scratch / "data.iso", scratch / "audio.cue"}));
    EXPECT_EQ(entries[0].device->uniqueId, "stdio:" + (scratch / "data.iso").string());
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(List({}).empty());
    EXPECT_TRUE(List({"stdio:/no/such/folder/disc.iso"}).empty());
    EXPECT_EQ(boxes, (std::vector<std::string>{"There were no writable devices detected!",
                                               "Failed to initialize recorder - Error:0x8ba00001\n\n"
                                               "Recorder Unique ID:stdio:/no/such/folder/disc.iso"}));
}

TEST_F(RecorderListTest, ARecorderShowsTheDriveRootsOfItsImage)
{
    const auto disc = velmora::test::WriteCdImage(scratch.path(), "tones", {{4, 440}});
    ScopedEnvironment virtualDrives("VELMORA_DRIVES", "X=" + disc.cue.string() + ";Y=" + disc.cue.string());
    const auto entries = List({"cue:" + disc.cue.string()});
    EXPECT_EQ(Texts(entries), std::vector<std::string>{"X:\\,Y:\\"});
    EXPECT_EQ(entries[0].device->VolumePath(1), "Y:\\");
    EXPECT_EQ(entries[0].device->VolumePath(2), "");
}

TEST_F(RecorderListTest, TheEnumerationAddsTheConfiguredPseudoRecorders)
{
    ScopedEnvironment recorders("VELMORA_RECORDERS", "stdio:" + (scratch / "a.iso").string());
    CRecorderEnum enumeration;
    ASSERT_TRUE(enumeration.Create() && enumeration.CheckEnvironment());
    EXPECT_EQ(enumeration.UniqueIdAt(enumeration.Count() - 1), "stdio:" + (scratch / "a.iso").string());
    EXPECT_EQ(enumeration.UniqueIdAt(enumeration.Count()), "");
}

TEST(RecorderDeviceTest, ExclusiveAccessIsOneClientsAtATime)
{
    ScratchFolder scratch;
    const std::string id = "stdio:" + (scratch / "disc.iso").string();
    CRecorderDevice first, second;
    ASSERT_TRUE(first.Open(id) && second.Open(id));
    EXPECT_FALSE(first.AcquireExclusive(std::string(64, 'a')));
    EXPECT_EQ(first.hr, kInvalidArgument);
    ASSERT_TRUE(first.AcquireExclusive(kClientName));
    EXPECT_FALSE(second.AcquireExclusive("Other Program"));
    EXPECT_EQ(second.hr, kRecorderBusy);
    EXPECT_EQ(second.ExclusiveOwner(), kClientName);
    EXPECT_TRUE(first.ReleaseExclusive());
    EXPECT_EQ(second.ExclusiveOwner(), "");
    EXPECT_TRUE(second.AcquireExclusive("Other Program") && second.Eject());
    // Opening another recorder gives up the one held before.
    ASSERT_TRUE(second.Open("cue:" + (scratch / "music.cue").string()));
    EXPECT_TRUE(first.AcquireExclusive(kClientName));

    CRecorderDevice unopened;
    EXPECT_FALSE(unopened.Open("stdio:/no/such/folder/disc.iso"));
    EXPECT_EQ(unopened.hr, kNoSuchRecorder);
    EXPECT_FALSE(unopened.AcquireExclusive(kClientName) || unopened.ReleaseExclusive() || unopened.Eject());
    EXPECT_EQ(unopened.ExclusiveOwner() + unopened.VolumePath(0), "");
}

TEST(RecorderProbeTest, TheModesWriterIsTriedAndTheRecorderStaysFree)
{
    ScratchFolder scratch;
    CRecorderDevice image, cue;
    ASSERT_TRUE(image.Open("stdio:" + (scratch / "disc.iso").string()));
    ASSERT_TRUE(cue.Open("cue:" + (scratch / "music.cue").string()));
    EXPECT_TRUE(ProbeRecorder(image, 6));
    EXPECT_FALSE(image.HoldsDrive());
    EXPECT_FALSE(ProbeRecorder(image, kAudioBurnerMode));   // no audio into a data image
    EXPECT_TRUE(ProbeRecorder(cue, kAudioBurnerMode));
    EXPECT_FALSE(ProbeRecorder(cue, 5));
    EXPECT_FALSE(image.HoldsDrive());
    EXPECT_FALSE(std::filesystem::exists(scratch / "disc.iso"));   // probing writes nothing
}

}  // namespace
}  // namespace velmora::discburn
