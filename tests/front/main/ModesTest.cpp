#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "FrontTesting.h"
#include "main/ModeTables.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"

#include <QAbstractButton>
#include <QDir>
#include <QHeaderView>
#include <QProgressBar>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

namespace control = velmora::front::control;

using velmora::front::CMediaMaster;
using velmora::front::MessageKind;
using velmora::test::AnsweringDesktop;
using velmora::test::Caption;
using velmora::test::Click;
using velmora::test::Enabled;
using velmora::test::MakeWindow;
using velmora::test::ShownControls;

std::set<int> Range(int first, int last)
{
    std::set<int> ids;
    for (int id = first; id <= last; ++id) ids.insert(id);
    return ids;
}

std::set<int> Union(std::set<int> a, const std::set<int>& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

struct ModeCase {
    const char* name;
    int button;
    int mode;
    std::set<int> shown;      // besides the heading control::kHeading and Start control::kStartButton, which stay from the welcome state on
    std::set<int> enabled;
    std::set<int> disabled;
};

const std::vector<ModeCase>& ModeCases()
{
    static const std::vector<ModeCase> cases{
        {"AudioConverter", control::kAudioConverterButton, 1,
         {control::kDriveLabel, control::kDriveList, control::kConvertList, control::kFormatGroup, control::kFirstOptionRadio, control::kSecondOptionRadio, control::kThirdOptionRadio, control::kM4vRadio, control::kMp4Radio, control::kMovRadio, control::kSoundGroup, control::kAudioBitRateEdit, control::kAudioBitRateLabel, control::kAudioBitRateUnit, control::kChannelsEdit, control::kChannelsLabel, control::kSampleRateList, control::kSampleRateLabel,
          control::kSampleRateUnit},
         {control::kFirstOptionRadio, control::kSecondOptionRadio, control::kDriveLabel, control::kDriveList, control::kConvertList, control::kAudioBitRateEdit},
         {control::kThirdOptionRadio, control::kM4vRadio, control::kMp4Radio, control::kMovRadio}},
        {"VideoConverter", control::kVideoConverterButton, 2,
         Union(Range(control::kFormatGroup, control::kHeightEdit), {control::kConvertList, control::kAddFilesButton, control::kRemoveFilesButton, control::kM4vRadio, control::kMp4Radio, control::kMovRadio, control::kSoundGroup, control::kAudioBitRateEdit, control::kAudioBitRateLabel, control::kAudioBitRateUnit, control::kChannelsEdit, control::kChannelsLabel, control::kFileSizeText, control::kSampleRateList,
                                   control::kSampleRateLabel, control::kSampleRateUnit, control::kDurationText, control::kJoinFilesCheck, control::kOutputInfoGroup, control::kOptionsGroup, control::kBurnOutputCheck, control::kFrameRateList, control::kFrameRateLabel, control::kFrameRateUnit}),
         {control::kFirstOptionRadio, control::kSecondOptionRadio, control::kThirdOptionRadio, control::kM4vRadio, control::kMp4Radio, control::kMovRadio, control::kAddFilesButton, control::kRemoveFilesButton, control::kBurnOutputCheck},
         {control::kJoinFilesCheck}},
        {"DvdCreator", control::kDvdCreatorButton, 3,
         {control::kConvertList, control::kFirstOptionRadio, control::kSecondOptionRadio, control::kVideoGroup, control::kThirdOptionRadio, control::kDvdAudioBestRadio, control::kDvdAudioGoodRadio, control::kDvdAudioLowRadio, control::kDvdVideoBestRadio, control::kDvdVideoGoodRadio, control::kAddFilesButton, control::kRemoveFilesButton, control::kSoundGroup, control::kDvdVideoLowRadio, control::kDvdMenuGroup},
         {control::kFirstOptionRadio, control::kSecondOptionRadio, control::kThirdOptionRadio, control::kDvdAudioBestRadio, control::kDvdVideoGoodRadio, control::kAddFilesButton, control::kRemoveFilesButton},
         {}},
        {"AudioBurner", control::kAudioBurnerButton, 4, {control::kDriveLabel, control::kDriveList, control::kAddFilesButton, control::kUsageLeftLabel, control::kUsageRightLabel, control::kBurnList, control::kRemoveFilesButton}, {control::kAddFilesButton, control::kBurnList, control::kRemoveFilesButton, control::kDriveList}, {}},
        {"CdDataBurner", control::kCdDataBurnerButton, 5,
         {control::kDriveLabel, control::kDriveList, control::kFirstOptionRadio, control::kSecondOptionRadio, control::kThirdOptionRadio, control::kAddFilesButton, control::kAddFolderButton, control::kBurnList, control::kRemoveFilesButton},
         {control::kDriveLabel, control::kDriveList, control::kFirstOptionRadio, control::kSecondOptionRadio, control::kThirdOptionRadio},
         {control::kAddFilesButton, control::kAddFolderButton, control::kBurnList, control::kRemoveFilesButton}},   // Copy Disk is chosen on entry
        {"DvdDataBurner", control::kDvdDataBurnerButton, 6,
         {control::kDriveLabel, control::kDriveList, control::kFirstOptionRadio, control::kSecondOptionRadio, control::kThirdOptionRadio, control::kAddFilesButton, control::kUsageLeftLabel, control::kUsageRightLabel, control::kAddFolderButton, control::kBurnList, control::kRemoveFilesButton},
         {control::kDriveLabel, control::kDriveList, control::kFirstOptionRadio, control::kSecondOptionRadio, control::kThirdOptionRadio, control::kAddFilesButton, control::kAddFolderButton, control::kBurnList, control::kRemoveFilesButton},
         {}},
    };
    return cases;
}

void ExpectMode(const CMediaMaster& window, const ModeCase& expected, const std::string& route)
{
    EXPECT_EQ(window.Mode(), expected.mode) << route;
    EXPECT_EQ(ShownControls(window), Union(expected.shown, {control::kHeading, control::kStartButton})) << route;
    for (const int id : expected.enabled) EXPECT_TRUE(Enabled(window, id)) << route << ": " << id << " enabled";
    for (const int id : expected.disabled) EXPECT_FALSE(Enabled(window, id)) << route << ": " << id << " disabled";
}

class WindowTest : public ::testing::Test {
protected:
    AnsweringDesktop desktop;
};

TEST_F(WindowTest, StartsInTheWelcomeState)
{
    const auto window = MakeWindow(desktop);
    EXPECT_EQ(window->windowTitle(), "Velmora 1.2");
    EXPECT_EQ(window->Mode(), 0);
    EXPECT_EQ(ShownControls(*window), (std::set<int>{control::kStartButton, control::kBackground}));
    EXPECT_EQ(Caption(*window, control::kStartButton), "Convert !!!!");
    for (const int id : {control::kAudioConverterButton, control::kVideoConverterButton, control::kDvdCreatorButton, control::kAudioBurnerButton, control::kCdDataBurnerButton, control::kDvdDataBurnerButton, control::kHelpButton, control::kExitButton})
        EXPECT_TRUE(window->Control(id)->isVisibleTo(window.get())) << id;
    EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(control::kFirstOptionRadio))->isChecked());
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(WindowTest, EveryModeShowsItsControlsWhicheverModeCameBefore)
{
    const auto window = MakeWindow(desktop);
    for (const auto& first : ModeCases()) {
        Click(*window, first.button);
        ExpectMode(*window, first, std::string("welcome or previous -> ") + first.name);
        for (const auto& second : ModeCases()) {
            Click(*window, first.button);
            Click(*window, second.button);
            ExpectMode(*window, second, std::string(first.name) + " -> " + second.name);
        }
    }
    EXPECT_TRUE(desktop.messages.empty());
}

struct CaptionCase {
    int button;
    std::map<int, const char*> english;
    std::map<int, const char*> spanish;
};

TEST_F(WindowTest, CaptionsFollowTheModeAndTheLanguage)
{
    const std::vector<CaptionCase> cases{
        {control::kAudioConverterButton,
         {{control::kHeading, "Audio converter: convert CD audio disks to Wav or MP3 files eaisy to your computer."},
          {control::kDriveLabel, "Select Files to Convert (CD ROM)"}, {control::kFirstOptionRadio, "MP3"}, {control::kSecondOptionRadio, "WAV"}, {control::kThirdOptionRadio, "FLV"}, {control::kStartButton, "Convert"}},
         {{control::kHeading, "Conversión de audio: convierte discos de música a archivos MP3 o WAV fácilmente."},
          {control::kDriveLabel, "Seleccione los archivos a convertir (CD ROM)"}, {control::kFirstOptionRadio, "MP3"}, {control::kStartButton, "Convertir"}}},
        {control::kVideoConverterButton,
         {{control::kHeading, "Video converter: convert your DVD or AVI files to other video formats as MPG or FLV "},
          {control::kFirstOptionRadio, "AVI"}, {control::kSecondOptionRadio, "MPG"}, {control::kThirdOptionRadio, "FLV"}, {control::kStartButton, "Convert"}, {control::kM4vRadio, "M4V - (IPod ITunes)"},
          {control::kMp4Radio, "MP4 - (PSP, PS4, Youtube)"}, {control::kMovRadio, "MOV (Apple / Mac)"}, {control::kJoinFilesCheck, "Join Files (One File Output)"}},
         {{control::kHeading, "Conversión de vídeo: convierte tus DVD o archivos AVI a otros formatos de vídeo. "},
          {control::kFirstOptionRadio, "AVI"}, {control::kStartButton, "Convertir"}}},
        {control::kDvdCreatorButton,
         {{control::kHeading, "Create a Video DVD from your AVI or MPG files."}, {control::kDvdMenuGroup, "DVD Menu"}, {control::kFirstOptionRadio, "Only VOB files"},
          {control::kSecondOptionRadio, "Output All DVD files"}, {control::kThirdOptionRadio, "Convert and Burn to DVD"}, {control::kStartButton, "Convert"}},
         {{control::kHeading, "Crea un DVD de vídeo desde tus archivos AVI o MPG."}, {control::kDvdMenuGroup, "Menú DVD"},
          {control::kFirstOptionRadio, "Solamente archivos VOB"}, {control::kSecondOptionRadio, "Crear todos los archivos del DVD en el disco duro"},
          {control::kThirdOptionRadio, "Crear archivos y grabarlos en un disco DVD"}, {control::kStartButton, "Convertir"}}},
        {control::kAudioBurnerButton,
         {{control::kHeading, "Create audio disks for your audio players from MP3 files."}, {control::kDriveLabel, "Select Drive"},
          {control::kUsageLeftLabel, "0 min"}, {control::kUsageRightLabel, "80 min"}, {control::kStartButton, "Burn it!"}},
         {{control::kHeading, "Crea discos de audio para tu reproductos de música a parti de archivos MP3."},
          {control::kDriveLabel, "Selecciona dispositivo"}, {control::kUsageLeftLabel, "0 min"}, {control::kStartButton, "Grabar!"}}},
        {control::kCdDataBurnerButton,
         {{control::kHeading, "Write Cd disks with files of your computer"}, {control::kDriveLabel, "Select Drive"}, {control::kStartButton, "Burn it!"},
          {control::kFirstOptionRadio, "Copy Disk"}, {control::kSecondOptionRadio, "Create ISO File"}, {control::kThirdOptionRadio, "Burn ISO File"}},
         {{control::kHeading, "Crea discos de datos en un CD a partir de archivos de tu ordenador."}, {control::kFirstOptionRadio, "Copiar disco"},
          {control::kSecondOptionRadio, "Crear archivo ISO"}, {control::kThirdOptionRadio, "Grabar archivo ISO"}, {control::kStartButton, "Grabar!"}}},
        {control::kDvdDataBurnerButton,
         {{control::kHeading, "Write your PC files in DVD disk "}, {control::kDriveLabel, "Select Drive"}, {control::kStartButton, "Burn it!"},
          {control::kFirstOptionRadio, "CD Data (700 MB)"}, {control::kSecondOptionRadio, "DVD Data (4.7 GB)"}, {control::kThirdOptionRadio, "DVD-DL Data (8.5 GB)"}},
         {{control::kHeading, "Grabe los archivos de su ordenador en un disco DVD "}, {control::kDriveLabel, "Selecciona dispositivo"},
          {control::kFirstOptionRadio, "CD Data (700 MB)"}, {control::kStartButton, "Grabar!"}}},
    };
    for (const bool english : {true, false}) {
        const auto window = MakeWindow(desktop, english);
        for (const auto& mode : cases) {
            Click(*window, mode.button);
            for (const auto& [id, text] : english ? mode.english : mode.spanish)
                EXPECT_EQ(Caption(*window, id), QString::fromUtf8(text)) << "button " << mode.button << " control " << id;
            EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(control::kFirstOptionRadio))->isChecked());
        }
    }
}

TEST_F(WindowTest, DvdCreatorChecksBestSoundAndGoodPicture)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kDvdCreatorButton);
    EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(control::kDvdAudioBestRadio))->isChecked());
    EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(control::kDvdVideoGoodRadio))->isChecked());
    EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(control::kFirstOptionRadio))->isChecked());
}

TEST_F(WindowTest, ConvertListColumnsFollowTheModeAndTheLanguage)
{
    const auto headers = [](const CMediaMaster& window) {
        QStringList titles;
        const auto& list = window.ConvertList();
        for (int column = 0; column < list.columnCount(); ++column) titles << list.headerItem()->text(column);
        return titles;
    };
    const auto english = MakeWindow(desktop, true);
    Click(*english, control::kVideoConverterButton);
    EXPECT_EQ(headers(*english), (QStringList{"Duration", "Size", "File Name"}));
    Click(*english, control::kDvdCreatorButton);
    EXPECT_EQ(headers(*english), (QStringList{"Title", "Duration", "File Name"}));
    EXPECT_EQ(english->ConvertList().columnWidth(2), 355);
    Click(*english, control::kAudioBurnerButton);
    EXPECT_EQ(english->ConvertList().columnCount(), 0);

    const auto spanish = MakeWindow(desktop, false);
    Click(*spanish, control::kVideoConverterButton);
    EXPECT_EQ(headers(*spanish), (QStringList{QString::fromUtf8("Duración"), QString::fromUtf8("Tamaño"),
                                              "FNombre de archivo"}));
}

TEST_F(WindowTest, WhileBusyModeButtonsAndExitRefuseAndNothingChanges)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kVideoConverterButton);
    const auto shownBefore = ShownControls(*window);
    window->State().SetBusy(true);
    for (const int button : {control::kAudioConverterButton, control::kVideoConverterButton, control::kDvdCreatorButton, control::kAudioBurnerButton, control::kCdDataBurnerButton, control::kDvdDataBurnerButton, control::kExitButton}) {
        desktop.messages.clear();
        Click(*window, button);
        ASSERT_EQ(desktop.messages.size(), 1u) << button;
        EXPECT_EQ(desktop.messages[0].text, "Engine Busy");
        EXPECT_EQ(desktop.messages[0].caption, "Media Conversion");
        EXPECT_EQ(desktop.messages[0].kind, MessageKind::Plain);
        EXPECT_EQ(window->Mode(), 2);
        EXPECT_EQ(ShownControls(*window), shownBefore);
        EXPECT_TRUE(window->isVisible());
    }
    desktop.messages.clear();
    window->reject();   // Escape
    window->close();    // the close box
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(desktop.messages.size(), 2u);

    window->State().SetBusy(false);
    Click(*window, control::kAudioConverterButton);
    EXPECT_EQ(window->Mode(), 1);
    Click(*window, control::kExitButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

TEST_F(WindowTest, EnableControlsFromAJobThreadRunsOnTheWindowThread)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kCdDataBurnerButton);   // Copy Disk disables the file buttons and the burn list
    auto disable = std::async(std::launch::async, [&] { window->EnableControls(true); });
    while (disable.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) velmora::test::ProcessEvents();
    disable.get();
    for (const int id : velmora::front::ControlMapIds()) EXPECT_FALSE(Enabled(*window, id)) << id;

    window->EnableControls(false);
    for (const int id : {control::kDriveLabel, control::kDriveList, control::kFirstOptionRadio, control::kSecondOptionRadio, control::kThirdOptionRadio, control::kStartButton, control::kAddFilesButton, control::kAddFolderButton, control::kBurnList, control::kRemoveFilesButton})
        EXPECT_TRUE(Enabled(*window, id)) << id;
}

TEST_F(WindowTest, StartStampsTheDateAndDoesNothingInTheWelcomeState)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kStartButton);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(QRegularExpression("^\\d{4}_\\d{2}_\\d{2}$")
                    .match(QString::fromStdString(window->State().DateStamp()))
                    .hasMatch());
}

TEST_F(WindowTest, HelpOpensHelpPdfOfTheCurrentFolder)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kHelpButton);
    ASSERT_EQ(desktop.openedUrls.size(), 1u);
    EXPECT_EQ(desktop.openedUrls[0], QUrl::fromLocalFile(QDir::currentPath() + "/Help.pdf"));
}

TEST_F(WindowTest, PendingOutputsGoToTheDvdBurnerAndStartIsPressedOnceIdle)
{
    velmora::test::ScratchFolder folder;
    velmora::test::WriteFile(folder / "joined.mp4", std::string(5000, 'x'));
    const auto window = MakeWindow(desktop);
    window->State().AddPendingOutput((folder / "joined.mp4").string());
    Click(*window, control::kDvdDataBurnerButton);
    ASSERT_EQ(window->BurnList().count(), 1);
    EXPECT_EQ(window->BurnList().item(0)->text().toStdString(), (folder / "joined.mp4").string());
    EXPECT_FALSE(window->State().HasPendingOutputs());
    EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(control::kSecondOptionRadio))->isChecked());
    EXPECT_EQ(window->State().BurnOption(), 4);
    EXPECT_EQ(window->State().DiscUsed(), 3u * 2352u);
    EXPECT_TRUE(window->State().DateStamp().empty());
    velmora::test::ProcessEvents(20);
    EXPECT_FALSE(window->State().DateStamp().empty());   // the posted Start ran
}

}  // namespace
