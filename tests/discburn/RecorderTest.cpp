#include "BurnTestSupport.h"
#include "ScratchFolder.h"
#include "recorders/RecorderEnum.h"
#include "recorders/RecorderProbe.h"
#include "writers/DiscFormatAudio.h"

#include <gtest/gtest.h>

namespace velmora::discburn {
namespace {

using namespace test;
using namespace velmora::test;

TEST(RecorderAddressTest, PseudoRecordersAndDevicesAreToldApartAndClientNamesAreShortAndPlain)
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
    for (const auto& [name, valid] : std::vector<std::pair<std::string, bool>>{
             {kClientName, true}, {"Disc copy: step 2, final_pass-1.", true}, {std::string(63, 'a'), true},
             {std::string(64, 'a'), false}, {"", false}, {"a/b", false}, {"tab\there", false}})
        EXPECT_EQ(IsValidClientName(name), valid) << name;
}

class RecorderListTest : public ::testing::Test {
protected:
    std::vector<std::string> List(std::vector<std::string> ids)
    {
        CRecorderEnum recorders;
        recorders.CreateFrom(std::move(ids));
        std::vector<std::string> texts;
        for (const auto& entry : ListRecorders(recorders, [this](const std::string& text) { boxes.push_back(text); }))
            texts.push_back(entry.device->uniqueId + " as " + entry.text);
        return texts;
    }

    ScratchFolder scratch;
    ScopedEnvironment drives{"VELMORA_DRIVES", ""};
    std::vector<std::string> boxes;
};

TEST_F(RecorderListTest, TheListTellsOfNoRecordersAndOfTheOnlyOneFailingAndTakesTheConfiguredOnes)
{
    std::filesystem::create_directory(scratch / "folder");
    const std::string data = (scratch / "data.iso").string(), audio = (scratch / "audio.cue").string();
    EXPECT_EQ(List({"stdio:/no/such/folder/disc.iso", "stdio:" + data, "stdio:" + (scratch / "folder").string(),
                    "cue:" + audio}),
              (std::vector<std::string>{"stdio:" + data + " as " + data, "cue:" + audio + " as " + audio}));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(List({}).empty());
    EXPECT_TRUE(List({"stdio:/no/such/folder/disc.iso"}).empty());
    EXPECT_EQ(boxes, (std::vector<std::string>{"There were no writable devices detected!",
                                               "Failed to initialize recorder - Error:0x8ba00001\n\n"
                                               "Recorder Unique ID:stdio:/no/such/folder/disc.iso"}));

    // A recorder shows the drive roots of its image.
    const auto disc = WriteCdImage(scratch.path(), "tones", {{4, 440}});
    const ScopedEnvironment virtualDrives("VELMORA_DRIVES", DriveList({{'X', disc.cue}, {'Y', disc.cue}}));
    EXPECT_EQ(List({"cue:" + disc.cue.string()}),
              std::vector<std::string>{"cue:" + disc.cue.string() + " as X:\\,Y:\\"});

    // The enumeration adds the configured pseudo recorders, the variable before the setting.
    WriteFile(scratch / "velmora.conf", "Recorders=stdio:/from/setting.iso\n");
    const ScopedEnvironment conf("VELMORA_CONF", (scratch / "velmora.conf").string());
    for (const auto& variable : {std::optional<std::string>(), std::optional<std::string>("cue:/a.cue;stdio:/b.iso")}) {
        const ScopedEnvironment recorders("VELMORA_RECORDERS", variable);
        CRecorderEnum enumeration;
        ASSERT_TRUE(enumeration.Create() && enumeration.CheckEnvironment());
        EXPECT_EQ(enumeration.UniqueIdAt(enumeration.Count() - 1),
                  variable ? "stdio:/b.iso" : "stdio:/from/setting.iso");
        EXPECT_EQ(enumeration.UniqueIdAt(enumeration.Count()), "");
    }
}

TEST(RecorderDeviceTest, ExclusiveAccessIsOneClientsAtATimeAndAProbeLeavesTheRecorderFree)
{
    ScratchFolder scratch;
    const std::string id = "stdio:" + (scratch / "disc.iso").string();
    CRecorderDevice first, second, cue, unopened;
    ASSERT_TRUE(first.Open(id) && second.Open(id) && cue.Open("cue:" + (scratch / "music.cue").string()));
    EXPECT_FALSE(first.AcquireExclusive(std::string(64, 'a')));
    EXPECT_EQ(first.hr, kInvalidArgument);
    ASSERT_TRUE(first.AcquireExclusive(kClientName));
    EXPECT_FALSE(second.AcquireExclusive("Other Program"));
    EXPECT_EQ(std::tuple(second.hr, second.ExclusiveOwner()), std::tuple(kRecorderBusy, kClientName));
    EXPECT_TRUE(first.ReleaseExclusive());
    EXPECT_EQ(second.ExclusiveOwner(), "");
    EXPECT_TRUE(second.AcquireExclusive("Other Program") && second.Eject());
    // Opening another recorder gives up the one held before.
    ASSERT_TRUE(second.Open("cue:" + (scratch / "music.cue").string()));
    EXPECT_TRUE(first.AcquireExclusive(kClientName) && first.ReleaseExclusive());

    EXPECT_FALSE(unopened.Open("stdio:/no/such/folder/disc.iso"));
    EXPECT_EQ(unopened.hr, kNoSuchRecorder);
    EXPECT_FALSE(unopened.AcquireExclusive(kClientName) || unopened.ReleaseExclusive() || unopened.Eject());

    EXPECT_TRUE(ProbeRecorder(first, 6));
    EXPECT_FALSE(ProbeRecorder(first, kAudioBurnerMode));   // no audio into a data image
    EXPECT_TRUE(ProbeRecorder(cue, kAudioBurnerMode));
    EXPECT_FALSE(ProbeRecorder(cue, 5));
    EXPECT_FALSE(first.HoldsDrive() || cue.HoldsDrive());
    EXPECT_FALSE(std::filesystem::exists(scratch / "disc.iso"));   // probing writes nothing
}

class AudioDiscTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(scratch / "discs");
        // Encoders put other chunks before the samples; they must not reach the disc.
        WriteFile(scratch / "short.wav", WaveFile(shortTone, 2, 44100, std::string("LIST\x06\0\0\0INFOab", 14)));
        WriteFile(scratch / "long.wav", WaveFile(longTone, 2, 44100));
        WriteFile(scratch / "mono.wav", WaveFile(TonePcm(44100, 880).substr(0, 44100 * 2), 1, 44100));
        WriteFile(scratch / "odd.wav", WaveFile(std::string(4003, '\1'), 2, 44100));
    }

    std::vector<AudioTrack> Tracks(const std::vector<std::string>& names) const
    {
        std::vector<AudioTrack> tracks;
        for (const auto& name : names)
            if (auto track = TrackOfCdWave(scratch / name)) tracks.push_back(*track);
        return tracks;
    }

    // Burns the tracks to a BIN/CUE recorder; the writer's result code (its text in errorText).
    HResult Burn(const std::vector<AudioTrack>& tracks, RecordingWindow& window)
    {
        CRecorderDevice device;
        EXPECT_TRUE(device.Open("cue:" + cue.string()) && device.AcquireExclusive(kClientName));
        CDiscFormatAudio writer;
        EXPECT_TRUE(writer.Initialize(&device, kClientName)) << writer.errorText;
        writer.BurnTracks(&window, tracks);
        errorText = writer.errorText;
        return writer.hr;
    }

    ScratchFolder scratch;
    std::filesystem::path cue = scratch / "discs/music.cue";
    std::string shortTone = TonePcm(44100 * 3 / 2, 440), longTone = TonePcm(233730, 660);
    std::string errorText;
};

TEST_F(AudioDiscTest, TracksOfCdWavesWrittenToACueRecorderRipBackAsTheyWere)
{
    const auto tracks = Tracks({"short.wav", "mono.wav", "long.wav", "missing.wav", "short.wav"});
    ASSERT_EQ(tracks.size(), 3u);   // only CD audio gives tracks
    EXPECT_EQ(tracks[0].offset, 44u + 14);
    EXPECT_EQ(Tracks({"odd.wav"}).at(0).length, 4000u);   // whole frames of the samples only

    RecordingWindow window;
    EXPECT_EQ(Burn(tracks, window), kOk) << errorText;
    EXPECT_TRUE(errorText.empty());
    const auto ripped = RipImage(cue);
    ASSERT_EQ(ripped.size(), 3u);
    EXPECT_EQ(ripped[0].size(), 300 * kCdSectorBytes);   // 1.5 seconds take the 4 a track needs at least
    EXPECT_TRUE(ripped[0] == Padded(shortTone) && ripped[1] == Padded(longTone) && ripped[2] == ripped[0]);

    EXPECT_EQ(std::pair(window.progress.front().action, window.progress.back().action),
              std::pair(+kAudioPreparing, +kAudioFinishing));
    EXPECT_TRUE(std::any_of(window.progress.begin(), window.progress.end(), [](const WriteProgress& report) {
        return report.action == kAudioWriting && report.track == 3 && report.trackCount == 3;
    }));
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());
}

TEST_F(AudioDiscTest, ACancelOrAnUnreadableTrackLeavesNoImageAndAnImageThereIsAWrittenDisc)
{
    // An image already there is a written disc, never overwritten.
    WriteFile(cue, "old sheet");
    RecordingWindow refused;
    EXPECT_EQ(Burn(Tracks({"short.wav"}), refused), kMediaNotBlank);
    EXPECT_EQ(ReadFile(cue), "old sheet");
    std::filesystem::remove(cue);

    RecordingWindow cancelling;
    cancelling.reply = [](const WriteProgress& report) { return report.track == 2 ? 0 : 1; };
    EXPECT_EQ(Burn(Tracks({"short.wav", "long.wav"}), cancelling), kCancelled);
    EXPECT_EQ(errorText, "IDiscFormat2Audio->AddAudioTrack Failed! Error:0x8ba00005");
    EXPECT_FALSE(std::filesystem::exists(cue));

    auto tracks = Tracks({"short.wav", "long.wav", "short.wav"});
    tracks[1].length += 1 << 20;   // the file ends before the track does
    RecordingWindow window;
    Burn(tracks, window);
    EXPECT_EQ(errorText, "IDiscFormat2Audio->AddAudioTrack Failed! Error:0x8ba00006");
    EXPECT_TRUE(std::none_of(window.progress.begin(), window.progress.end(),
                             [](const WriteProgress& report) { return report.track == 3; }));
    EXPECT_FALSE(std::filesystem::exists(cue));
    EXPECT_FALSE(std::filesystem::exists(scratch / "discs/music.bin"));
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());

    // libburn writes audio to CDs only, never into a file.
    CDiscFormatAudio noRecorder, toImage;
    CRecorderDevice image, gone;
    ASSERT_TRUE(image.Open("stdio:" + (scratch / "discs/data.iso").string()));
    EXPECT_FALSE(noRecorder.Initialize(nullptr, kClientName) || toImage.Initialize(&image, kClientName));
    EXPECT_EQ(toImage.errorText, "Recorder not supported");
    EXPECT_FALSE(toImage.BurnTracks(nullptr, {}));
    EXPECT_FALSE(gone.Open("cue:" + (scratch / "discs/later/music.cue").string()));
}

}  // namespace
}  // namespace velmora::discburn
