#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "FrontTesting.h"
#include "main/ModeTables.h"
#include "ScratchFolder.h"

#include <QAbstractButton>
#include <QDir>
#include <QHeaderView>
#include <QProgressBar>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

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
    std::set<int> shown;      // besides the heading 1032 and Start 1051, which stay from the welcome state on
    std::set<int> enabled;
    std::set<int> disabled;
};

const std::vector<ModeCase>& ModeCases()
{
    static const std::vector<ModeCase> cases{
        {"AudioConverter", 1019, 1,
         {1028, 1029, 1030, 1033, 1034, 1035, 1040, 1059, 1060, 1061, 1062, 1063, 1065, 1066, 1067, 1068, 1070, 1071,
          1072},
         {1034, 1035, 1028, 1029, 1030, 1063},
         {1040, 1059, 1060, 1061}},
        {"VideoConverter", 1021, 2,
         Union(Range(1033, 1044), {1030, 1053, 1058, 1059, 1060, 1061, 1062, 1063, 1065, 1066, 1067, 1068, 1069, 1070,
                                   1071, 1072, 1074, 1075, 1078, 1079, 1080, 1082, 1083, 1084}),
         {1034, 1035, 1040, 1059, 1060, 1061, 1053, 1058, 1080},
         {1075}},
        {"DvdCreator", 1023, 3,
         {1030, 1034, 1035, 1036, 1040, 1045, 1046, 1047, 1048, 1049, 1053, 1058, 1062, 1073, 1097},
         {1034, 1035, 1040, 1045, 1049, 1053, 1058},
         {}},
        {"AudioBurner", 1022, 4, {1028, 1029, 1053, 1054, 1055, 1057, 1058}, {1053, 1057, 1058, 1029}, {}},
        {"CdDataBurner", 1024, 5,
         {1028, 1029, 1034, 1035, 1040, 1053, 1056, 1057, 1058},
         {1028, 1029, 1034, 1035, 1040},
         {1053, 1056, 1057, 1058}},   // Copy Disk is chosen on entry
        {"DvdDataBurner", 1025, 6,
         {1028, 1029, 1034, 1035, 1040, 1053, 1054, 1055, 1056, 1057, 1058},
         {1028, 1029, 1034, 1035, 1040, 1053, 1056, 1057, 1058},
         {}},
    };
    return cases;
}

void ExpectMode(const CMediaMaster& window, const ModeCase& expected, const std::string& route)
{
    EXPECT_EQ(window.Mode(), expected.mode) << route;
    EXPECT_EQ(ShownControls(window), Union(expected.shown, {1032, 1051})) << route;
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
    EXPECT_EQ(ShownControls(*window), (std::set<int>{1051, 1064}));
    EXPECT_EQ(Caption(*window, 1051), "Convert !!!!");
    for (const int id : {1019, 1021, 1023, 1022, 1024, 1025, 1050, 1052})
        EXPECT_TRUE(window->Control(id)->isVisibleTo(window.get())) << id;
    EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(1034))->isChecked());
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
        {1019,
         {{1032, "Audio converter: convert CD audio disks to Wav or MP3 files eaisy to your computer."},
          {1028, "Select Files to Convert (CD ROM)"}, {1034, "MP3"}, {1035, "WAV"}, {1040, "FLV"}, {1051, "Convert"}},
         {{1032, "Conversión de audio: convierte discos de música a archivos MP3 o WAV fácilmente."},
          {1028, "Seleccione los archivos a convertir (CD ROM)"}, {1034, "MP3"}, {1051, "Convertir"}}},
        {1021,
         {{1032, "Video converter: convert your DVD or AVI files to other video formats as MPG or FLV "},
          {1034, "AVI"}, {1035, "MPG"}, {1040, "FLV"}, {1051, "Convert"}, {1059, "M4V - (IPod ITunes)"},
          {1060, "MP4 - (PSP, PS4, Youtube)"}, {1061, "MOV (Apple / Mac)"}, {1075, "Join Files (One File Output)"}},
         {{1032, "Conversión de vídeo: convierte tus DVD o archivos AVI a otros formatos de vídeo. "},
          {1034, "AVI"}, {1051, "Convertir"}}},
        {1023,
         {{1032, "Create a Video DVD from your AVI or MPG files."}, {1097, "DVD Menu"}, {1034, "Only VOB files"},
          {1035, "Output All DVD files"}, {1040, "Convert and Burn to DVD"}, {1051, "Convert"}},
         {{1032, "Crea un DVD de vídeo desde tus archivos AVI o MPG."}, {1097, "Menú DVD"},
          {1034, "Solamente archivos VOB"}, {1035, "Crear todos los archivos del DVD en el disco duro"},
          {1040, "Crear archivos y grabarlos en un disco DVD"}, {1051, "Convertir"}}},
        {1022,
         {{1032, "Create audio disks for your audio players from MP3 files."}, {1028, "Select Drive"},
          {1054, "0 min"}, {1055, "80 min"}, {1051, "Burn it!"}},
         {{1032, "Crea discos de audio para tu reproductos de música a parti de archivos MP3."},
          {1028, "Selecciona dispositivo"}, {1054, "0 min"}, {1051, "Grabar!"}}},
        {1024,
         {{1032, "Write Cd disks with files of your computer"}, {1028, "Select Drive"}, {1051, "Burn it!"},
          {1034, "Copy Disk"}, {1035, "Create ISO File"}, {1040, "Burn ISO File"}},
         {{1032, "Crea discos de datos en un CD a partir de archivos de tu ordenador."}, {1034, "Copiar disco"},
          {1035, "Crear archivo ISO"}, {1040, "Grabar archivo ISO"}, {1051, "Grabar!"}}},
        {1025,
         {{1032, "Write your PC files in DVD disk "}, {1028, "Select Drive"}, {1051, "Burn it!"},
          {1034, "CD Data (700 MB)"}, {1035, "DVD Data (4.7 GB)"}, {1040, "DVD-DL Data (8.5 GB)"}},
         {{1032, "Grabe los archivos de su ordenador en un disco DVD "}, {1028, "Selecciona dispositivo"},
          {1034, "CD Data (700 MB)"}, {1051, "Grabar!"}}},
    };
    for (const bool english : {true, false}) {
        const auto window = MakeWindow(desktop, english);
        for (const auto& mode : cases) {
            Click(*window, mode.button);
            for (const auto& [id, text] : english ? mode.english : mode.spanish)
                EXPECT_EQ(Caption(*window, id), QString::fromUtf8(text)) << "button " << mode.button << " control " << id;
            EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(1034))->isChecked());
        }
    }
}

TEST_F(WindowTest, DvdCreatorChecksBestSoundAndGoodPicture)
{
    const auto window = MakeWindow(desktop);
    Click(*window, 1023);
    EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(1045))->isChecked());
    EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(1049))->isChecked());
    EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(1034))->isChecked());
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
    Click(*english, 1021);
    EXPECT_EQ(headers(*english), (QStringList{"Duration", "Size", "File Name"}));
    Click(*english, 1023);
    EXPECT_EQ(headers(*english), (QStringList{"Title", "Duration", "File Name"}));
    EXPECT_EQ(english->ConvertList().columnWidth(2), 355);
    Click(*english, 1022);
    EXPECT_EQ(english->ConvertList().columnCount(), 0);

    const auto spanish = MakeWindow(desktop, false);
    Click(*spanish, 1021);
    EXPECT_EQ(headers(*spanish), (QStringList{QString::fromUtf8("Duración"), QString::fromUtf8("Tamaño"),
                                              "FNombre de archivo"}));
}

TEST_F(WindowTest, WhileBusyModeButtonsAndExitRefuseAndNothingChanges)
{
    const auto window = MakeWindow(desktop);
    Click(*window, 1021);
    const auto shownBefore = ShownControls(*window);
    window->State().SetBusy(true);
    for (const int button : {1019, 1021, 1023, 1022, 1024, 1025, 1052}) {
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
    Click(*window, 1019);
    EXPECT_EQ(window->Mode(), 1);
    Click(*window, 1052);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

TEST_F(WindowTest, EnableControlsFromAJobThreadRunsOnTheWindowThread)
{
    const auto window = MakeWindow(desktop);
    Click(*window, 1024);   // Copy Disk disables the file buttons and the burn list
    auto disable = std::async(std::launch::async, [&] { window->EnableControls(true); });
    while (disable.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) velmora::test::ProcessEvents();
    disable.get();
    for (const int id : velmora::front::ControlMapIds()) EXPECT_FALSE(Enabled(*window, id)) << id;

    window->EnableControls(false);
    for (const int id : {1028, 1029, 1034, 1035, 1040, 1051, 1053, 1056, 1057, 1058})
        EXPECT_TRUE(Enabled(*window, id)) << id;
}

TEST_F(WindowTest, StartStampsTheDateAndDoesNothingInTheWelcomeState)
{
    const auto window = MakeWindow(desktop);
    Click(*window, 1051);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(QRegularExpression("^\\d{4}_\\d{2}_\\d{2}$")
                    .match(QString::fromStdString(window->State().DateStamp()))
                    .hasMatch());
}

TEST_F(WindowTest, HelpOpensHelpPdfOfTheCurrentFolder)
{
    const auto window = MakeWindow(desktop);
    Click(*window, 1050);
    ASSERT_EQ(desktop.openedUrls.size(), 1u);
    EXPECT_EQ(desktop.openedUrls[0], QUrl::fromLocalFile(QDir::currentPath() + "/Help.pdf"));
}

TEST_F(WindowTest, PendingOutputsGoToTheDvdBurnerAndStartIsPressedOnceIdle)
{
    velmora::test::ScratchFolder folder;
    velmora::test::WriteFile(folder / "joined.mp4", std::string(5000, 'x'));
    const auto window = MakeWindow(desktop);
    window->State().AddPendingOutput((folder / "joined.mp4").string());
    Click(*window, 1025);
    ASSERT_EQ(window->BurnList().count(), 1);
    EXPECT_EQ(window->BurnList().item(0)->text().toStdString(), (folder / "joined.mp4").string());
    EXPECT_FALSE(window->State().HasPendingOutputs());
    EXPECT_TRUE(static_cast<QAbstractButton*>(window->Control(1035))->isChecked());
    EXPECT_EQ(window->State().BurnOption(), 4);
    EXPECT_EQ(window->State().DiscUsed(), 3u * 2352u);
    EXPECT_TRUE(window->State().DateStamp().empty());
    velmora::test::ProcessEvents(20);
    EXPECT_FALSE(window->State().DateStamp().empty());   // the posted Start ran
}

}  // namespace
