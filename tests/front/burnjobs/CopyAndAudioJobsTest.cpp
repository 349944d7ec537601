#include "BurnJobsTesting.h"
#include "burnjobs/CDriveSelector.h"
#include "lists/CFileListBox.h"
#include "CdImage.h"
#include "Media.h"
#include "writers/AudioTrack.h"
#include "BurnTestSupport.h"
#include "image/IsoCheck.h"
#include "drives/CdDevice.h"
#include "drives/DriveTable.h"
#include "core/ControlIds.h"

#include <cdio/cdio.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace velmora::test {
namespace {

namespace control = velmora::front::control;

using discburn::IsIso9660Image;
using discburn::PaddedTrackBytes;
using discburn::test::Padded;
using discburn::test::ReadIsoImage;
using discburn::test::RipImage;
using discburn::test::TonePcm;
using discburn::test::WaveFile;
using front::CDriveSelector;

constexpr int kCdDataBurner = control::kCdDataBurnerButton;
constexpr int kAudioBurner = control::kAudioBurnerButton;

// Copy Disk from drive E, a folder standing for a data disc in the source recorder.
class DiscCopyJobTest : public BurnWindowTest {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(scratch / "disc/Docs");
        WriteFile(scratch / "disc/setup.txt", "install me");
        WriteFile(scratch / "disc/Docs/manual.txt", "read me");
        Configure("stdio:" + source.string() + ";stdio:" + target.string(), "E=" + (scratch / "disc").string());
    }

    void CopyDisk()
    {
        OpenInMode(kCdDataBurner);
        auto* recorders = static_cast<QComboBox*>(window->Control(control::kDriveList));
        ASSERT_EQ(recorders->count(), 2);
        // A real recorder is listed by the drive its disc is mounted as.
        recorders->setItemText(0, "E:\\");
        recorders->setCurrentIndex(0);
        desktop.chosenSaveFile = QString::fromStdString((scratch / "copy").string());
        Burn();
    }

    const std::filesystem::path source = scratch / "source-recorder.iso";
    const std::filesystem::path target = scratch / "target-recorder.iso";
    const std::filesystem::path copy = scratch / "copy.iso";
};

TEST_F(DiscCopyJobTest, TheDiscGoesIntoAnIsoFileAndOntoTheRecorderChosenInTheSelector)
{
    QString prompt;
    desktop.answerDialog = [&](QDialog& dialog) {
        auto& selector = static_cast<CDriveSelector&>(dialog);
        prompt = selector.Prompt().text();
        selector.Recorders().setCurrentIndex(1);
        selector.BurnButton().click();
        return selector.result();
    };
    CopyDisk();
    EXPECT_EQ(desktop.dialogsRun, 1);
    EXPECT_TRUE(prompt.startsWith("Please insert the blank media"));
    EXPECT_EQ(Status(), "Burn completed successfully!");
    for (const auto& image : {copy, target}) {
        const auto read = ReadIsoImage(image, true);
        ASSERT_TRUE(read.read) << image;
        EXPECT_EQ(read.contents.at("setup.txt"), "install me");
        EXPECT_EQ(read.contents.at("Docs/manual.txt"), "read me");
    }
    EXPECT_FALSE(std::filesystem::exists(source));
}

TEST_F(DiscCopyJobTest, CancellingTheSelectorKeepsTheIsoFile)
{
    CopyDisk();
    EXPECT_EQ(desktop.dialogsRun, 1);
    EXPECT_TRUE(IsIso9660Image(copy));
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(DiscCopyJobTest, AnAudioCdOrAnEmptyDriveIsToldAndNothingIsWritten)
{
    const auto audioCd = WriteCdImage(scratch.path(), "audio", {{2, 440}});
    Configure("stdio:" + source.string() + ";stdio:" + target.string(), "E=" + audioCd.cue.string());
    CopyDisk();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Copying of Audio CD to ISO is not Yet Implemented....");
    EXPECT_EQ(desktop.dialogsRun, 0);
    EXPECT_FALSE(std::filesystem::exists(copy));

    desktop.messages.clear();
    std::filesystem::create_directory(scratch / "empty");
    Configure("stdio:" + source.string() + ";stdio:" + target.string(), "E=" + (scratch / "empty").string());
    CopyDisk();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text,
              "No Media Found\n\nPlease Insert the Media and then perform the operation again");
    EXPECT_FALSE(std::filesystem::exists(copy));
}

class AudioBurnJobTest : public BurnWindowTest {};

TEST_F(AudioBurnJobTest, ACdWaveAndAnMp3BecomeTracksAndAMonoWaveIsLeftOut)
{
    const auto cue = scratch / "discs/audio.cue";
    std::filesystem::create_directory(scratch / "discs");
    Configure("cue:" + cue.string());
    const std::string cdPcm = TonePcm(5 * 44100, 440);
    WriteFile(scratch / "1 cd.wav", WaveFile(cdPcm, 2, 44100));
    ASSERT_TRUE(RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=660:duration=5", "-ar", "44100", "-ac", "2",
                           (scratch / "2 tone.mp3").string()}));
    ASSERT_TRUE(RunFfmpeg({"-i", (scratch / "2 tone.mp3").string(), "-f", "s16le", "-ar", "44100", "-ac", "2",
                           (scratch / "2 tone.pcm").string()}));
    WriteFile(scratch / "3 mono.wav", WaveFile(std::string(44100 * 2, '\x01'), 1, 44100));

    OpenInMode(kAudioBurner);
    for (const char* name : {"1 cd.wav", "2 tone.mp3", "3 mono.wav"})
        window->BurnList().AddPath(QString::fromStdString((scratch / name).string()));
    Burn();
    EXPECT_EQ(Status(), "Burn completed successfully!");
    const auto tracks = RipImage(cue);
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_TRUE(tracks[0] == Padded(cdPcm));
    const std::string mp3Pcm = ReadFile(scratch / "2 tone.pcm");
    EXPECT_EQ(tracks[1].size(), PaddedTrackBytes(mp3Pcm.size()));
    EXPECT_TRUE(tracks[1] == Padded(mp3Pcm));
}

}  // namespace
}  // namespace velmora::test
