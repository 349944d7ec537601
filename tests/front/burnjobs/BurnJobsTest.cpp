#include "BurnJobsTesting.h"
#include "CdImage.h"
#include "Media.h"
#include "burnjobs/BurnRows.h"
#include "burnjobs/CDriveSelector.h"
#include "burnjobs/RecorderList.h"
#include "core/ControlIds.h"
#include "main/CMediaMaster.h"
#include "image/IsoCheck.h"

#include <QComboBox>
#include <QProgressBar>

namespace velmora::test {
namespace {

namespace fs = std::filesystem;
using namespace discburn::test;
using front::BurnInput;

constexpr const char* kCompleted = "Burn completed successfully!";

// Two files and a folder with a folder in it, burnt through the image file of a pseudo recorder.
class DataJobTest : public BurnJobTest {
protected:
    void SetUp() override
    {
        fs::create_directories(scratch / "source/Photos/Day One");
        fs::create_directory(scratch / "discs");
        WriteFile(scratch / "source/Read Me.txt", "two files and a folder\n");
        WriteFile(scratch / "source/numbers.csv", "1,2,3\n");
        WriteFile(scratch / "source/Photos/Day One/morning.jpg", "sunrise");
    }

    BurnInput Input(int mode, int option) const
    {
        return {.mode = mode, .option = option, .recorder = "stdio:" + target.string(),
                .entries = {{scratch / "source/Read Me.txt"}, {scratch / "source/Photos", true},
                            {scratch / "source/numbers.csv"}},
                .volumeName = "2009_11_18"};
    }

    void ExpectListIn(const fs::path& image) const
    {
        const auto read = ReadIsoImage(image, true);
        ASSERT_TRUE(read.read) << image;
        EXPECT_TRUE(read.hasJoliet);
        EXPECT_EQ(read.volumeId, "2009_11_18");
        EXPECT_EQ(read.contents.at("Read Me.txt"), "two files and a folder\n");
        EXPECT_EQ(read.contents.at("Photos/Day One/morning.jpg"), "sunrise");
        EXPECT_EQ(read.files.size(), 5u);   // two folders besides the three files
    }

    const fs::path target = scratch / "discs/data.iso";
};

TEST_F(DataJobTest, TheListIsBurntAndVerifiedWithItsProgressShownAndASecondBurnFindsTheDiscNoLongerBlank)
{
    BurnInput verified = Input(front::kModeDvdDataBurner, 4);
    verified.verify = true;
    Run(verified);
    EXPECT_EQ(host.LastStatus(), "Burn completed and verified!");
    EXPECT_TRUE(host.Shown("Verifying... ") && !host.statuses.filter(" MB written").isEmpty())
        << host.statuses.join("|").toStdString();
    const auto size = std::filesystem::file_size(target);
    ASSERT_FALSE(host.burnProgress.empty());
    EXPECT_EQ(host.burnProgress.back(), std::pair(std::uint64_t{size}, std::uint64_t{size}));
    EXPECT_TRUE(HiddenFiles(scratch / "discs").empty());
    EXPECT_EQ(host.controls, (std::vector<bool>{true, false}));
    EXPECT_FALSE(host.state.Busy());
    ExpectListIn(target);

    const auto written = ReadFile(target);
    Run(Input(front::kModeDvdDataBurner, 4));
    const ShownMessage notBlank{"Inserted Media is not writable.\n\nPlease insert the Blank media and try again.",
                                "Velmora 1.2", front::MessageKind::Error};
    EXPECT_EQ(host.messages, Messages{notBlank});
    EXPECT_EQ(host.LastStatus(), "Media is not Blank.");
    EXPECT_EQ(ReadFile(target), written);
}

TEST_F(DataJobTest, WithoutAListOrAUsableRecorderNothingIsWritten)
{
    BurnInput input = Input(front::kModeDvdDataBurner, 4);
    input.entries.clear();
    Run(input);
    EXPECT_TRUE(host.statuses.isEmpty());

    const std::string broken = "stdio:" + (scratch / "no such folder/disc.iso").string();
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {std::nullopt, "Error: No Device Selected"},
        {"", "Error: No Recorder Found for selected device"},
        {broken, "Failed to initialize recorder - Unique ID:" + broken + " - Error:0x8BA00001"},
    };
    for (const auto& [recorder, status] : cases) {
        input = Input(front::kModeDvdDataBurner, 4);
        input.recorder = recorder;
        Run(input);
        EXPECT_EQ(host.LastStatus().toStdString(), status);
    }
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(DataJobTest, CreateIsoFileWritesTheListIntoAFileAndBurnIsoFileBurnsOnlyAnIsoImage)
{
    Run(Input(front::kModeCdDataBurner, 1));   // the save dialog cancelled
    EXPECT_TRUE(host.statuses.isEmpty());
    host.isoToWrite = (scratch / "made").string();
    Run(Input(front::kModeCdDataBurner, 1));
    EXPECT_EQ(host.LastStatus(), kCompleted);
    EXPECT_TRUE(HiddenFiles(scratch.path()).empty());
    ExpectListIn(scratch / "made.iso");
    EXPECT_FALSE(fs::exists(target));   // no disc is written

    fs::copy_file(scratch / "made.iso", scratch / "made.img");
    fs::copy_file(scratch / "made.iso", scratch / "MADE.ISO");
    WriteFile(scratch / "fake.iso", std::string(70000, 'x'));
    const auto madeBytes = fs::file_size(scratch / "made.iso");
    fs::copy_file(scratch / "made.iso", scratch / "cut.iso");
    fs::resize_file(scratch / "cut.iso", madeBytes / 2);
    const std::pair<const char*, std::string> cases[] = {
        {"made.img", ""},   // another extension ends the job silently
        {"fake.iso", "Not an ISO 9660 image: " + (scratch / "fake.iso").string()},
        {"cut.iso", "An ISO 9660 image cut short (it holds " + std::to_string(madeBytes / 2 / 1024) + " KB of the " +
                        std::to_string(madeBytes / 1024) + " KB it declares): " + (scratch / "cut.iso").string()},
        {"MADE.ISO", kCompleted},
    };
    for (const auto& [name, status] : cases) {
        host.statuses.clear();
        host.isoToBurn = (scratch / name).string();
        Run(Input(front::kModeCdDataBurner, 2));
        EXPECT_EQ(host.LastStatus().toStdString(), status) << name;
        EXPECT_EQ(fs::exists(target), status == kCompleted) << name;
    }
    EXPECT_EQ(ReadFile(target).substr(0, 40000), ReadFile(scratch / "MADE.ISO").substr(0, 40000));
    EXPECT_TRUE(host.messages.empty());
}

// Copy Disk from drive E; the recorder of the drop-down is not the source.
class CopyJobTest : public BurnJobTest {
protected:
    void CopyDisk(const fs::path& disc)
    {
        const ScopedEnvironment drives("VELMORA_DRIVES", "E=" + disc.string());
        host.isoToWrite = (scratch / "copy").string();
        Run({.mode = front::kModeCdDataBurner, .option = 0, .recorder = "", .sourceDrive = "E:\\",
             .volumeName = "2009_11_18"});
    }
};

TEST_F(CopyJobTest, ADataDiscGoesIntoAnIsoFileAndOntoTheRecorderChosenForTheCopyIfAny)
{
    fs::create_directories(scratch / "disc/Docs");
    WriteFile(scratch / "disc/setup.txt", "install me");
    WriteFile(scratch / "disc/Docs/manual.txt", "read me");
    CopyDisk(scratch / "disc");   // no recorder chosen for the copy
    EXPECT_EQ(discburn::WhyNotWholeIsoImage(scratch / "copy.iso"), std::nullopt);
    fs::rename(scratch / "copy.iso", scratch / "disc.iso");

    host.target = "stdio:" + (scratch / "target.iso").string();
    CopyDisk(scratch / "disc.iso");   // the image as the drive
    EXPECT_EQ(host.questions, 2);
    EXPECT_EQ(host.LastStatus(), kCompleted);
    EXPECT_TRUE(ReadFile(scratch / "copy.iso") == ReadFile(scratch / "disc.iso"));
    EXPECT_TRUE(ReadFile(scratch / "target.iso") == ReadFile(scratch / "disc.iso"));
    EXPECT_EQ(ReadIsoImage(scratch / "target.iso", true).contents.at("Docs/manual.txt"), "read me");
}

TEST_F(CopyJobTest, AnAudioCdIsRippedAndBurntWithItsTextAndAnEmptyDriveIsToldOf)
{
    const auto source = WriteCdImage(scratch.path(), "audio", {{4, 440}, {4, 660}}, {"Ana", "Coast", {"One", "Two"}}).cue;
    host.target = "cue:" + (scratch / "copy.cue").string();
    CopyDisk(source);
    EXPECT_EQ(host.LastStatus(), kCompleted);
    EXPECT_EQ(host.questions, 1);   // the recorder only: the tracks wait in a folder of the job's own
    EXPECT_TRUE(RipImage(scratch / "copy.cue") == RipImage(source));
    EXPECT_EQ(CdTextOfImage(scratch / "copy.cue"), (std::vector<std::string>{"Coast / Ana", "One / ", "Two / "}));

    host.target.reset();   // the user declines the burn
    CopyDisk(source);
    EXPECT_EQ(host.LastStatus(), "User Canceled!");

    fs::create_directory(scratch / "empty");
    CopyDisk(scratch / "empty");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "No Media Found\n\nPlease Insert the Media and then perform the operation again");
    EXPECT_FALSE(fs::exists(scratch / "copy.iso"));
}

TEST_F(BurnJobTest, ACdWaveAndAnMp3BecomeTracksAndATrackThatCannotStopsTheBurnBeforeAnythingIsWritten)
{
    fs::create_directory(scratch / "discs");
    const std::string cdPcm = TonePcm(5 * 44100, 440);
    WriteFile(scratch / "1 cd.wav", WaveFile(cdPcm, 2, 44100));
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=660:duration=5", "-ar", "44100", "-ac", "2",
                           "-metadata", "title=Tone", "-metadata", "artist=Someone", (scratch / "2 tone.mp3").string()}));
    ASSERT_TRUE(RunFfmpeg({"-i", (scratch / "2 tone.mp3").string(), "-f", "s16le", "-ar", "44100", "-ac", "2",
                           (scratch / "2 tone.pcm").string()}));
    WriteFile(scratch / "3 mono.wav", WaveFile(std::string(44100 * 2, '\x01'), 1, 44100));

    const fs::path cue = scratch / "discs/audio.cue";
    Run({.mode = front::kModeAudioBurner, .recorder = "cue:" + cue.string(),
         .entries = {{scratch / "1 cd.wav"}, {scratch / "2 tone.mp3"}, {scratch / "3 mono.wav"}}});
    EXPECT_TRUE(host.LastStatus().contains("3 mono.wav: it is not CD audio")) << host.LastStatus().toStdString();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].text.contains("3 mono.wav")) << host.messages[0].text.toStdString();
    EXPECT_FALSE(fs::exists(cue));

    Run({.mode = front::kModeAudioBurner, .recorder = "cue:" + cue.string(),
         .entries = {{scratch / "1 cd.wav"}, {scratch / "2 tone.mp3"}}});
    EXPECT_EQ(host.LastStatus(), kCompleted);
    const auto tracks = RipImage(cue);
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_TRUE(tracks[0] == Padded(cdPcm));
    EXPECT_TRUE(tracks[1] == Padded(ReadFile(scratch / "2 tone.pcm")));
    // The CD-TEXT comes from the listed files, the MP3's tags and the WAV's name.
    EXPECT_EQ(CdTextOfImage(cue), (std::vector<std::string>{" / Someone", "1 cd / ", "Tone / Someone"}));
}

TEST(RecorderDropDown, ListsTheRecordersThatOpenAndTellsWhenThereIsNone)
{
    TestApplication();
    ScratchFolder scratch;
    QComboBox list;
    front::RecorderDropDown recorders(list);
    QStringList told;
    const auto fill = [&](const std::string& configured) {
        const ScopedEnvironment variable("VELMORA_RECORDERS", configured);
        told.clear();
        recorders.Fill(front::kModeAudioBurner, [&](const std::string& text) { told << QString::fromStdString(text); });
    };
    fill("");
    EXPECT_EQ(told, QStringList{"There were no writable devices detected!"});
    EXPECT_EQ(recorders.Choice(), std::nullopt);

    const std::string broken = "stdio:" + (scratch / "no such folder/disc.iso").string();
    fill(broken);   // the only recorder failing to open is named
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith("Failed to initialize recorder - Error:0x")) << told[0].toStdString();
    EXPECT_TRUE(told[0].endsWith(QString::fromStdString("\n\nRecorder Unique ID:" + broken)));
    EXPECT_EQ(recorders.Choice(), std::nullopt);

    const std::string cue = "cue:" + (scratch / "audio.cue").string();
    fill(broken + ";" + cue);   // of two, the one failing to open is left out silently
    EXPECT_TRUE(told.isEmpty());
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(list.itemText(0), Q(scratch / "audio.cue"));
    EXPECT_EQ(recorders.Choice(), cue);

    // The Audio Burner takes the first recorder that writes audio CDs; a data recorder cannot.
    const std::string data = "stdio:" + (scratch / "data.iso").string();
    fill(data + ";" + cue);
    EXPECT_EQ(recorders.Choice(), cue);
    EXPECT_FALSE(recorders.Probe(0, front::kModeAudioBurner));
    EXPECT_TRUE(recorders.Probe(0, front::kModeDvdDataBurner));
}

// The window's part: the check box, the progress bar, what the Audio Burner says of a recorder,
// and the drives Copy Disk copies from.
TEST(BurnWindow, VerifyIsCheckedTheBarFollowsTheBurnADataRecorderIsToldOfAndCopyDiskListsTheCdDrives)
{
    ScratchFolder scratch;
    const ScopedEnvironment recorders("VELMORA_RECORDERS", "stdio:" + (scratch / "data.iso").string() + ";cue:" +
                                                               (scratch / "audio.cue").string());
    AnsweringDesktop desktop;
    const auto window = MakeWindow(desktop);
    Click(*window, front::control::kAudioBurnerButton);
    auto& drives = *static_cast<QComboBox*>(window->Control(front::control::kDriveList));
    EXPECT_EQ(drives.currentIndex(), 1);
    EXPECT_TRUE(Checked(*window, front::control::kVerifyCheck));
    EXPECT_EQ(Caption(*window, front::control::kVerifyCheck), "Verify written data");
    drives.setCurrentIndex(0);
    EXPECT_EQ(Caption(*window, front::control::kStatusText),
              "This recorder cannot write audio CDs. Please choose another one.");
    drives.setCurrentIndex(1);
    EXPECT_EQ(Caption(*window, front::control::kStatusText), "");

    // Copy Disk copies from a CD drive; the other options of the mode write with a recorder.
    const ScopedEnvironment cdDrives("VELMORA_DRIVES", "E=" + scratch.path().string());
    Click(*window, front::control::kCdDataBurnerButton);
    ASSERT_EQ(drives.count(), 1);
    EXPECT_EQ(drives.itemData(0).toString(), "E:\\");
    Click(*window, front::control::kSecondOptionRadio);
    EXPECT_EQ(drives.count(), 2);
    EXPECT_EQ(drives.itemText(0), Q(scratch / "data.iso"));
    // The copy of an audio CD is offered the recorder that can write it.
    front::CDriveSelector selector(true, desktop);
    EXPECT_EQ(selector.Recorders().currentIndex(), 0);
    selector.OfferAudioRecorderFirst();
    EXPECT_EQ(selector.Recorders().currentIndex(), 1);

    window->ShowBurnProgress(1, 4);
    const auto& bar = *static_cast<QProgressBar*>(window->Control(front::control::kProgressBar));
    EXPECT_EQ(bar.value() * 4, bar.maximum());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST(BurnRows, AResultShowsItsCodeOnlyWhenItFailed)
{
    EXPECT_EQ(front::ResultStatusText(discburn::kOk, "Done"), "Done");
    EXPECT_EQ(front::ResultStatusText(discburn::kNoMedia, "No disc"), "No disc - Error:0x8BA00003");
}

}  // namespace
}  // namespace velmora::test
