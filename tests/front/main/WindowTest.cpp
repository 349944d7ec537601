#include "FrontTesting.h"
#include "ScratchFolder.h"
#include "burnjobs/CDriveSelector.h"
#include "core/ControlIds.h"
#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "lists/Entries.h"
#include "main/CMediaMaster.h"
#include "main/LibraryMessages.h"
#include "main/ModeTables.h"
#include "support/CShowThumbNail.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>

namespace velmora::front {
namespace {

using namespace velmora::test;
using namespace control;

// Runs the calls on a thread of their own, as a job does, while the window answers.
void OnJobThread(const std::function<void()>& calls)
{
    auto done = std::async(std::launch::async, calls);
    while (done.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) ProcessEvents();
    done.get();
}

struct ModeCase {
    const char* name;
    int button;
    int mode;
    std::set<int> shown;   // besides the heading and Start, shown from the welcome state on
    std::set<int> enabled;
    std::set<int> disabled;
    std::set<int> checked;
};

const std::vector<ModeCase>& ModeCases()
{
    static const std::vector<ModeCase> cases{
        {"AudioConverter", kAudioConverterButton, kModeAudioConverter,
         {kDriveLabel, kDriveList, kConvertList, kFormatGroup, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio,
          kM4vRadio, kMp4Radio, kMovRadio, kSoundGroup, kAudioBitRateEdit, kAudioBitRateLabel, kAudioBitRateUnit,
          kChannelsEdit, kChannelsLabel, kSampleRateList, kSampleRateLabel, kSampleRateUnit},
         {kFirstOptionRadio, kSecondOptionRadio, kDriveLabel, kDriveList, kConvertList, kAudioBitRateEdit},
         {kThirdOptionRadio, kM4vRadio, kMp4Radio, kMovRadio},
         {kFirstOptionRadio}},
        {"VideoConverter", kVideoConverterButton, kModeVideoConverter,
         {kFormatGroup, kFirstOptionRadio, kSecondOptionRadio, kVideoGroup, kVideoBitRateLabel, kVideoBitRateEdit,
          kVideoBitRateUnit, kThirdOptionRadio, kVideoSizeLabel, kWidthEdit, kVideoSizeTimes, kHeightEdit,
          kConvertList, kAddFilesButton, kRemoveFilesButton, kM4vRadio, kMp4Radio, kMovRadio, kSoundGroup,
          kAudioBitRateEdit, kAudioBitRateLabel, kAudioBitRateUnit, kChannelsEdit, kChannelsLabel, kFileSizeText,
          kSampleRateList, kSampleRateLabel, kSampleRateUnit, kDurationText, kJoinFilesCheck, kOutputInfoGroup,
          kOptionsGroup, kBurnOutputCheck, kFrameRateList, kFrameRateLabel, kFrameRateUnit},
         {kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio, kM4vRadio, kMp4Radio, kMovRadio, kAddFilesButton,
          kRemoveFilesButton, kBurnOutputCheck},
         {kJoinFilesCheck},
         {kFirstOptionRadio}},
        {"DvdCreator", kDvdCreatorButton, kModeDvdCreator,
         {kConvertList, kFirstOptionRadio, kSecondOptionRadio, kVideoGroup, kThirdOptionRadio, kDvdAudioBestRadio,
          kDvdAudioGoodRadio, kDvdAudioLowRadio, kDvdVideoBestRadio, kDvdVideoGoodRadio, kAddFilesButton,
          kRemoveFilesButton, kSoundGroup, kDvdVideoLowRadio, kDvdMenuGroup},
         {kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio, kDvdAudioBestRadio, kDvdVideoGoodRadio,
          kAddFilesButton, kRemoveFilesButton},
         {},
         {kFirstOptionRadio, kDvdAudioBestRadio, kDvdVideoGoodRadio}},
        {"AudioBurner", kAudioBurnerButton, kModeAudioBurner,
         {kDriveLabel, kDriveList, kAddFilesButton, kUsageLeftLabel, kUsageRightLabel, kBurnList, kRemoveFilesButton},
         {kAddFilesButton, kBurnList, kRemoveFilesButton, kDriveList},
         {},
         {}},
        {"CdDataBurner", kCdDataBurnerButton, kModeCdDataBurner,
         {kDriveLabel, kDriveList, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio, kAddFilesButton,
          kAddFolderButton, kBurnList, kRemoveFilesButton},
         {kDriveLabel, kDriveList, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio},
         {kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton},   // Copy Disk is chosen on entry
         {kFirstOptionRadio}},
        {"DvdDataBurner", kDvdDataBurnerButton, kModeDvdDataBurner,
         {kDriveLabel, kDriveList, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio, kAddFilesButton,
          kUsageLeftLabel, kUsageRightLabel, kAddFolderButton, kBurnList, kRemoveFilesButton},
         {kDriveLabel, kDriveList, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio, kAddFilesButton,
          kAddFolderButton, kBurnList, kRemoveFilesButton},
         {},
         {kFirstOptionRadio}},
    };
    return cases;
}

void ExpectMode(const CMediaMaster& window, const ModeCase& expected, const std::string& route)
{
    std::set<int> shown = expected.shown;
    shown.insert({kHeading, kStartButton});
    EXPECT_EQ(window.Mode(), expected.mode) << route;
    EXPECT_EQ(ShownControls(window), shown) << route;
    for (const int id : expected.enabled) EXPECT_TRUE(Enabled(window, id)) << route << ": " << id << " enabled";
    for (const int id : expected.disabled) EXPECT_FALSE(Enabled(window, id)) << route << ": " << id << " disabled";
    for (const int id : expected.checked) EXPECT_TRUE(Checked(window, id)) << route << ": " << id << " checked";
}

class WindowTest : public ::testing::Test {
protected:
    AnsweringDesktop desktop;
    ScratchFolder folder;
};

TEST_F(WindowTest, StartsInTheWelcomeState)
{
    const auto window = MakeWindow(desktop);
    EXPECT_EQ(window->windowTitle(), "Velmora 1.2");
    EXPECT_EQ(window->Mode(), kModeWelcome);
    EXPECT_EQ(ShownControls(*window), (std::set<int>{kStartButton, kBackground}));
    EXPECT_EQ(Caption(*window, kStartButton), "Convert !!!!");
    for (const int id : {kAudioConverterButton, kVideoConverterButton, kDvdCreatorButton, kAudioBurnerButton,
                         kCdDataBurnerButton, kDvdDataBurnerButton, kHelpButton, kExitButton})
        EXPECT_TRUE(window->Control(id)->isVisibleTo(window.get())) << id;
    EXPECT_TRUE(Checked(*window, kFirstOptionRadio));
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(WindowTest, EveryModeShowsItsControlsWhicheverModeCameBefore)
{
    const auto window = MakeWindow(desktop);
    const auto& recorders = *static_cast<QComboBox*>(window->Control(kDriveList));
    for (const auto& first : ModeCases()) {
        Click(*window, first.button);
        ExpectMode(*window, first, std::string("welcome or previous -> ") + first.name);
        for (const auto& second : ModeCases()) {
            Click(*window, first.button);
            Click(*window, second.button);
            const std::string route = std::string(first.name) + " -> " + second.name;
            ExpectMode(*window, second, route);
            // Leaving a burner mode takes its recorders out of the drop-down.
            if (second.mode == kModeVideoConverter || second.mode == kModeDvdCreator)
                EXPECT_EQ(recorders.count(), 0) << route;
        }
    }
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(WindowTest, CaptionsFollowTheModeAndTheLanguage)
{
    struct CaptionCase {
        int button;
        int control;
        const char* english;
        const char* spanish;
    };
    const CaptionCase cases[] = {
        {kAudioConverterButton, kHeading,
         "Audio converter: convert CD audio disks to Wav or MP3 files eaisy to your computer.",
         "Conversión de audio: convierte discos de música a archivos MP3 o WAV fácilmente."},
        {kAudioConverterButton, kDriveLabel, "Select Files to Convert (CD ROM)",
         "Seleccione los archivos a convertir (CD ROM)"},
        {kAudioConverterButton, kSecondOptionRadio, "WAV", "WAV"},
        {kAudioConverterButton, kStartButton, "Convert", "Convertir"},
        {kVideoConverterButton, kHeading,
         "Video converter: convert your DVD or AVI files to other video formats as MPG or FLV ",
         "Conversión de vídeo: convierte tus DVD o archivos AVI a otros formatos de vídeo. "},
        {kVideoConverterButton, kFirstOptionRadio, "AVI", "AVI"},
        {kVideoConverterButton, kThirdOptionRadio, "FLV", "FLV"},
        {kVideoConverterButton, kMp4Radio, "MP4 - (PSP, PS4, Youtube)", "MP4 - (PSP, PS4, Youtube)"},
        {kDvdCreatorButton, kHeading, "Create a Video DVD from your AVI or MPG files.",
         "Crea un DVD de vídeo desde tus archivos AVI o MPG."},
        {kDvdCreatorButton, kDvdMenuGroup, "DVD Menu", "Menú DVD"},
        {kDvdCreatorButton, kSecondOptionRadio, "Output All DVD files",
         "Crear todos los archivos del DVD en el disco duro"},
        {kDvdCreatorButton, kThirdOptionRadio, "Convert and Burn to DVD", "Crear archivos y grabarlos en un disco DVD"},
        {kAudioBurnerButton, kHeading, "Create audio disks for your audio players from MP3 files.",
         "Crea discos de audio para tu reproductos de música a parti de archivos MP3."},
        {kAudioBurnerButton, kUsageRightLabel, "80 min", "80 min"},
        {kAudioBurnerButton, kStartButton, "Burn it!", "Grabar!"},
        {kCdDataBurnerButton, kHeading, "Write Cd disks with files of your computer",
         "Crea discos de datos en un CD a partir de archivos de tu ordenador."},
        {kCdDataBurnerButton, kDriveLabel, "Select Drive", "Selecciona dispositivo"},
        {kCdDataBurnerButton, kFirstOptionRadio, "Copy Disk", "Copiar disco"},
        {kCdDataBurnerButton, kThirdOptionRadio, "Burn ISO File", "Grabar archivo ISO"},
        {kDvdDataBurnerButton, kHeading, "Write your PC files in DVD disk ",
         "Grabe los archivos de su ordenador en un disco DVD "},
        {kDvdDataBurnerButton, kSecondOptionRadio, "DVD Data (4.7 GB)", "DVD Data (4.7 GB)"},
        {kDvdDataBurnerButton, kUsageRightLabel, "700 MB", "700 MB"},
    };
    for (const bool english : {true, false}) {
        const auto window = MakeWindow(desktop, english);
        int shownButton = 0;
        for (const auto& caption : cases) {
            if (caption.button != shownButton) Click(*window, shownButton = caption.button);
            EXPECT_EQ(Caption(*window, caption.control), QString::fromUtf8(english ? caption.english : caption.spanish))
                << "button " << caption.button << " control " << caption.control;
        }
    }
}

TEST_F(WindowTest, WhileBusyModeButtonsAndExitRefuseAndNothingChanges)
{
    const auto window = MakeWindow(desktop);
    Click(*window, kVideoConverterButton);
    const auto shownBefore = ShownControls(*window);
    window->State().SetBusy(true);
    for (const int button : {kAudioConverterButton, kVideoConverterButton, kDvdCreatorButton, kAudioBurnerButton,
                             kCdDataBurnerButton, kDvdDataBurnerButton, kExitButton}) {
        desktop.messages.clear();
        Click(*window, button);
        ASSERT_EQ(desktop.messages.size(), 1u) << button;
        EXPECT_EQ(desktop.messages[0].text, "Engine Busy");
        EXPECT_EQ(desktop.messages[0].caption, "Media Conversion");
        EXPECT_EQ(desktop.messages[0].kind, MessageKind::Plain);
        EXPECT_EQ(window->Mode(), kModeVideoConverter);
        EXPECT_EQ(ShownControls(*window), shownBefore);
        EXPECT_TRUE(window->isVisible());
    }
    desktop.messages.clear();
    window->reject();   // Escape
    window->close();    // the close box
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(desktop.messages.size(), 2u);

    window->State().SetBusy(false);
    Click(*window, kAudioConverterButton);
    EXPECT_EQ(window->Mode(), kModeAudioConverter);
    Click(*window, kExitButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

TEST_F(WindowTest, StartStampsTheDateAndDoesNothingElseInTheWelcomeStateAndHelpOpensHelpPdf)
{
    const auto window = MakeWindow(desktop);
    Click(*window, kStartButton);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(QRegularExpression("^\\d{4}_\\d{2}_\\d{2}$")
                    .match(QString::fromStdString(window->State().DateStamp()))
                    .hasMatch());
    Click(*window, kHelpButton);
    ASSERT_EQ(desktop.openedUrls.size(), 1u);
    EXPECT_EQ(desktop.openedUrls[0], QUrl::fromLocalFile(QDir::currentPath() + "/Help.pdf"));
}

TEST_F(WindowTest, PendingOutputsGoToTheDvdBurnerAndStartIsPressedOnceIdle)
{
    WriteFile(folder / "joined.mp4", std::string(5000, 'x'));
    const auto window = MakeWindow(desktop);
    window->State().AddPendingOutput((folder / "joined.mp4").string());
    Click(*window, kDvdDataBurnerButton);
    ASSERT_EQ(window->BurnList().count(), 1);
    EXPECT_EQ(window->BurnList().item(0)->text().toStdString(), (folder / "joined.mp4").string());
    EXPECT_FALSE(window->State().HasPendingOutputs());
    EXPECT_TRUE(Checked(*window, kSecondOptionRadio));
    EXPECT_EQ(window->State().BurnOption(), 4);
    EXPECT_EQ(window->State().DiscUsed(), 3u * 2352u);
    EXPECT_TRUE(window->State().DateStamp().empty());
    ProcessEvents(20);
    EXPECT_FALSE(window->State().DateStamp().empty());   // the posted Start ran
}

TEST_F(WindowTest, AJobsCallsRunOnTheWindowThreadAndAskTheDesktop)
{
    const QString picture = QString::fromStdString((folder / "frame.png").string());
    ASSERT_TRUE(QImage(16, 8, QImage::Format_RGB32).save(picture));
    desktop.chosenFolder = "/out";
    desktop.chosenSaveFile = "/out/file";
    desktop.chosenExistingFile = "/in.iso";
    desktop.answerDialog = [](QDialog& dialog) {
        auto& selector = static_cast<CDriveSelector&>(dialog);
        selector.BurnButton().click();
        return selector.result();
    };
    const auto window = MakeWindow(desktop);
    Click(*window, kCdDataBurnerButton);   // Copy Disk disables the file buttons and the burn list
    std::vector<std::string> answers;
    std::optional<std::string> target;
    OnJobThread([&] {
        window->EnableControls(true);
        answers = {window->ChooseOutputFolder(), window->ChooseJoinedFile(), window->ChooseIsoFileToWrite(),
                   window->ChooseIsoFileToBurn()};
        target = window->ChooseTargetRecorder();
        window->SetStatusText("from the job");
        window->ShowPreview(picture.toStdString());
    });
    for (const int id : ControlMapIds()) EXPECT_FALSE(Enabled(*window, id)) << id;
    EXPECT_EQ(answers, (std::vector<std::string>{"/out", "/out/file", "/out/file", "/in.iso"}));
    EXPECT_EQ(desktop.folderTitles, QStringList{"Please select a folder for storing converted files"});
    EXPECT_EQ(desktop.filters, (QStringList{"Converted File (*.*)", "ISO Files (*.iso)", "ISO Files (*.iso)"}));
    EXPECT_EQ(target, std::getenv("VELMORA_RECORDERS"));   // the one recorder, picked in the selector
    EXPECT_EQ(Caption(*window, kStatusText), "from the job");
    ASSERT_TRUE(ProcessEventsUntil([&] { return window->Preview().isVisible(); }, 5000));
    EXPECT_EQ(window->Preview().PictureSize(), QSize(16, 8));
    window->HidePreview();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !window->Preview().isVisible(); }, 5000));
    EXPECT_FALSE(window->Preview().ImageReady());

    window->EnableControls(false);
    for (const int id : {kDriveLabel, kDriveList, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio,
                         kStartButton, kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton})
        EXPECT_TRUE(Enabled(*window, id)) << id;

    // A posted command is a click once the window is free again.
    Click(*window, kAudioBurnerButton);
    window->PostCommand(command::kBurnPendingOutputs);
    EXPECT_EQ(window->Mode(), kModeAudioBurner);
    ASSERT_TRUE(ProcessEventsUntil([&] { return window->Mode() == kModeDvdDataBurner; }, 5000));
}

TEST_F(WindowTest, WhatNeedsAnExportTheLibraryLacksIsRefused)
{
    // The binding belongs to the process: leave it as the other tests expect it.
    struct Rebind {
        ~Rebind() { BindLibrary(); }
    } rebind;
    TestApplication();
    const std::string clip = (folder / "clip.avi").string();
    WriteFile(clip, "not really a video");
    {
        CMediaMaster window(true, desktop, PARTIAL_LUMETRA);
        for (const int button : {kAudioConverterButton, kVideoConverterButton, kDvdCreatorButton, kAudioBurnerButton,
                                 kCdDataBurnerButton, kDvdDataBurnerButton})
            Click(window, button);
        EXPECT_TRUE(desktop.messages.empty());
        Click(window, kVideoConverterButton);
        window.ConvertList().AddListFile(QString::fromStdString(clip));
        EXPECT_EQ(window.ConvertList().topLevelItemCount(), 0);
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_TRUE(desktop.messages[0].text.contains("GetPlayLength")) << desktop.messages[0].text.toStdString();
        EXPECT_EQ(desktop.messages[0].caption, "Velmora 1.2");

        // What is bound still works: the first video's figures, in the Video Converter only.
        window.ApplyVideoDefaults(clip);
        EXPECT_EQ(static_cast<QComboBox*>(window.Control(kSampleRateList))->currentText(), "48000");
        EXPECT_EQ(static_cast<QComboBox*>(window.Control(kFrameRateList))->currentText(), "12");
        auto& width = *static_cast<QLineEdit*>(window.Control(kWidthEdit));
        EXPECT_EQ(width.text(), "640");
        Click(window, kDvdCreatorButton);
        width.clear();
        window.ApplyVideoDefaults(clip);
        EXPECT_EQ(width.text(), "");
    }
    desktop.messages.clear();
    CMediaMaster window(true, desktop, folder / "libNothing.so");
    EXPECT_EQ(Lumetra().Unbound().size(), LumetraBinding::kNames.size());
    Click(window, kVideoConverterButton);
    window.ApplyVideoDefaults("/any/clip.avi");
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].text.contains("GetDefaultPara"));
    // A job starts only with every export it calls.
    Click(window, kStartButton);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_TRUE(desktop.messages[1].text.contains("GeTThumbNailForVideoFile"));
    EXPECT_FALSE(window.JobRunning());
    EXPECT_TRUE(window.Control(kStartButton)->isEnabled());
}

TEST_F(WindowTest, TheLibrarysMessagesAreShownByTheWindowOrGoToStandardError)
{
    auto window = MakeWindow(desktop);
    OnJobThread([] { ShowLibraryMessage("CD Drive is not ready or cannot read cd. Details: no disc", "Error"); });
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "CD Drive is not ready or cannot read cd. Details: no disc");
    EXPECT_EQ(desktop.messages[0].caption, "Error");
    EXPECT_EQ(desktop.messages[0].kind, MessageKind::Plain);

    window.reset();
    testing::internal::CaptureStderr();
    ShowLibraryMessage("text", "Error");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: text\n");
    EXPECT_EQ(desktop.messages.size(), 1u);
}

}  // namespace
}  // namespace velmora::front
