#include "BurnTestSupport.h"
#include "FrontTesting.h"
#include "ScratchFolder.h"
#include "burnjobs/CDriveSelector.h"
#include "core/ControlIds.h"
#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "main/LibraryMessages.h"
#include "main/ModeTables.h"
#include "support/CShowThumbNail.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <filesystem>
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

std::set<int> operator+(std::set<int> a, const std::set<int>& b)
{
    a.insert(b.begin(), b.end());
    return a;
}

struct ModeCase {
    int button;
    int mode;
    std::set<int> shown;      // besides the heading and Start, shown from the welcome state on
    std::set<int> disabled;   // the rest of those shown is enabled
    std::set<int> checked;
};

const std::vector<ModeCase>& ModeCases()
{
    static const std::set<int> formats{kFormatGroup, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio,
                                       kM4vRadio,    kMp4Radio,         kMovRadio};
    static const std::set<int> sound{kSoundGroup,    kAudioBitRateEdit, kAudioBitRateLabel, kAudioBitRateUnit,
                                     kChannelsEdit,  kChannelsLabel,    kSampleRateList,    kSampleRateLabel,
                                     kSampleRateUnit};
    static const std::set<int> options{kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio};
    static const std::set<int> files{kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton};
    static const std::set<int> drive{kDriveLabel, kDriveList};
    static const std::vector<ModeCase> cases{
        {kAudioConverterButton, kModeAudioConverter, formats + sound + drive + std::set{kConvertList},
         {kThirdOptionRadio, kM4vRadio, kMp4Radio, kMovRadio},
         {kFirstOptionRadio}},
        {kVideoConverterButton, kModeVideoConverter,
         formats + sound +
             std::set{kVideoGroup, kVideoBitRateLabel, kVideoBitRateEdit, kVideoBitRateUnit, kVideoSizeLabel,
                      kWidthEdit, kVideoSizeTimes, kHeightEdit, kFrameRateList, kFrameRateLabel, kFrameRateUnit,
                      kConvertList, kAddFilesButton, kRemoveFilesButton, kOptionsGroup, kJoinFilesCheck,
                      kBurnOutputCheck, kOutputInfoGroup, kFileSizeText, kDurationText},
         {kJoinFilesCheck},
         {kFirstOptionRadio}},
        {kDvdCreatorButton, kModeDvdCreator,
         options + std::set{kConvertList, kVideoGroup, kDvdAudioBestRadio, kDvdAudioGoodRadio, kDvdAudioLowRadio,
                            kDvdVideoBestRadio, kDvdVideoGoodRadio, kDvdVideoLowRadio, kAddFilesButton,
                            kRemoveFilesButton, kSoundGroup, kDvdMenuGroup},
         {},
         {kFirstOptionRadio, kDvdAudioBestRadio, kDvdVideoGoodRadio}},
        {kAudioBurnerButton, kModeAudioBurner,
         drive + std::set{kAddFilesButton, kUsageLeftLabel, kUsageRightLabel, kBurnList, kRemoveFilesButton},
         {},
         {}},
        {kCdDataBurnerButton, kModeCdDataBurner, options + files + drive, files, {kFirstOptionRadio}},   // Copy Disk
        {kDvdDataBurnerButton, kModeDvdDataBurner,
         options + files + drive + std::set{kUsageLeftLabel, kUsageRightLabel},
         {},
         {kFirstOptionRadio}},
    };
    return cases;
}

// Cancel takes the place of Start while a burn runs.
QPushButton& CancelButton(const CMediaMaster& window)
{
    for (auto* button : window.findChildren<QPushButton*>())
        if (button->text() == "Cancel") return *button;
    throw std::logic_error("no Cancel button");
}

// Presses Start and waits until the burn has ended and the window has taken Cancel away again.
void Burn(CMediaMaster& window)
{
    Click(window, kStartButton);
    EXPECT_TRUE(CancelButton(window).isVisible());
    ASSERT_TRUE(ProcessEventsUntil([&] { return !window.BurnJobs().Running() && !CancelButton(window).isVisible(); }));
    EXPECT_TRUE(Enabled(window, kStartButton));
    EXPECT_TRUE(window.isVisible());
}

class WindowTest : public ::testing::Test {
protected:
    AnsweringDesktop desktop;
    ScratchFolder folder;
};

TEST_F(WindowTest, StartsInTheWelcomeStateWhereStartOnlyStampsTheDateAndHelpOpensHelpPdf)
{
    const auto window = MakeWindow(desktop);
    EXPECT_EQ(window->windowTitle(), "Velmora 1.2");
    EXPECT_EQ(window->Mode(), kModeWelcome);
    EXPECT_EQ(ShownControls(*window), (std::set<int>{kStartButton, kBackground}));
    EXPECT_EQ(Caption(*window, kStartButton), "Convert !!!!");
    for (const int id : {kAudioConverterButton, kDvdDataBurnerButton, kHelpButton, kExitButton})
        EXPECT_TRUE(window->Control(id)->isVisibleTo(window.get())) << id;
    EXPECT_TRUE(Checked(*window, kFirstOptionRadio));
    Click(*window, kStartButton);
    const QString stamp = QString::fromStdString(window->State().DateStamp());
    EXPECT_TRUE(QRegularExpression("^\\d{4}_\\d{2}_\\d{2}$").match(stamp).hasMatch()) << stamp.toStdString();
    Click(*window, kHelpButton);
    EXPECT_EQ(desktop.openedUrls, std::vector{QUrl::fromLocalFile(QDir::currentPath() + "/Help.pdf")});
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(WindowTest, EveryModeShowsItsControlsWhicheverModeCameBefore)
{
    const auto window = MakeWindow(desktop);
    const auto& recorders = *static_cast<QComboBox*>(window->Control(kDriveList));
    const auto expect = [&](const ModeCase& mode, const std::string& route) {
        EXPECT_EQ(window->Mode(), mode.mode) << route;
        EXPECT_EQ(ShownControls(*window), mode.shown + std::set<int>({kHeading, kStartButton})) << route;
        for (const int id : mode.shown)
            EXPECT_EQ(Enabled(*window, id), !mode.disabled.count(id)) << route << ": " << id;
        for (const int id : mode.checked) EXPECT_TRUE(Checked(*window, id)) << route << ": " << id;
        // Leaving a burner mode takes its recorders out of the drop-down.
        const bool converter = mode.mode == kModeVideoConverter || mode.mode == kModeDvdCreator;
        EXPECT_TRUE(!converter || recorders.count() == 0) << route;
    };
    for (const auto& first : ModeCases()) {
        Click(*window, first.button);
        expect(first, "welcome or previous -> " + std::to_string(first.mode));
        for (const auto& second : ModeCases()) {
            Click(*window, first.button);
            Click(*window, second.button);
            expect(second, std::to_string(first.mode) + " -> " + std::to_string(second.mode));
        }
    }
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(WindowTest, CaptionsFollowTheModeAndTheLanguage)
{
    struct CaptionCase {
        int button;
        int control;
        int row;                      // of the window's language
        const char* text = nullptr;   // the same in both
    };
    const CaptionCase cases[] = {
        {kAudioConverterButton, kHeading, kRowAudioConverterHeading},
        {kAudioConverterButton, kDriveLabel, kRowSelectCdFiles},
        {kAudioConverterButton, kSecondOptionRadio, -1, "WAV"},
        {kAudioConverterButton, kStartButton, kRowConvert},
        {kVideoConverterButton, kHeading, kRowVideoConverterHeading},
        {kVideoConverterButton, kFirstOptionRadio, -1, "AVI"},
        {kDvdCreatorButton, kHeading, kRowDvdCreatorHeading},
        {kDvdCreatorButton, kDvdMenuGroup, kRowDvdMenu},
        {kDvdCreatorButton, kThirdOptionRadio, kRowConvertAndBurn},
        {kAudioBurnerButton, kHeading, kRowAudioBurnerHeading},
        {kAudioBurnerButton, kStartButton, kRowBurnIt},
        {kAudioBurnerButton, kUsageRightLabel, -1, "80 min"},
        {kCdDataBurnerButton, kHeading, kRowCdDataBurnerHeading},
        {kCdDataBurnerButton, kDriveLabel, kRowSelectDrive},
        {kCdDataBurnerButton, kFirstOptionRadio, kRowCopyDisk},
        {kDvdDataBurnerButton, kHeading, kRowDvdDataBurnerHeading},
        {kDvdDataBurnerButton, kUsageRightLabel, -1, "700 MB"},
    };
    for (const bool english : {true, false}) {
        const auto window = MakeWindow(desktop, english);
        const UiStrings strings(english);
        int shownButton = 0;
        for (const auto& caption : cases) {
            if (caption.button != shownButton) Click(*window, shownButton = caption.button);
            EXPECT_EQ(Caption(*window, caption.control), caption.text ? caption.text : strings[caption.row])
                << "button " << caption.button << " control " << caption.control;
        }
    }
}

TEST_F(WindowTest, WhileBusyModeButtonsExitEscapeAndTheCloseBoxRefuseAndNothingChanges)
{
    const auto window = MakeWindow(desktop);
    Click(*window, kVideoConverterButton);
    const auto shownBefore = ShownControls(*window);
    window->State().SetBusy(true);
    for (const int button : {kAudioConverterButton, kVideoConverterButton, kDvdCreatorButton, kAudioBurnerButton,
                             kCdDataBurnerButton, kDvdDataBurnerButton, kExitButton})
        Click(*window, button);
    window->reject();   // Escape
    window->close();    // the close box
    EXPECT_EQ(desktop.messages, Messages(9, {"Engine Busy", "Media Conversion", MessageKind::Plain}));
    EXPECT_EQ(window->Mode(), kModeVideoConverter);
    EXPECT_EQ(ShownControls(*window), shownBefore);
    EXPECT_TRUE(window->isVisible());

    window->State().SetBusy(false);
    Click(*window, kAudioConverterButton);
    EXPECT_EQ(window->Mode(), kModeAudioConverter);
    Click(*window, kExitButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
}

TEST_F(WindowTest, PendingOutputsGoToTheDvdBurnerAndStartIsPressedOnceIdle)
{
    WriteFile(folder / "joined.mp4", std::string(5000, 'x'));
    const auto window = MakeWindow(desktop);
    window->State().AddPendingOutput((folder / "joined.mp4").string());
    Click(*window, kDvdDataBurnerButton);
    ASSERT_EQ(window->BurnList().count(), 1);
    EXPECT_EQ(window->BurnList().item(0)->text(), Q(folder / "joined.mp4"));
    EXPECT_FALSE(window->State().HasPendingOutputs());
    EXPECT_TRUE(Checked(*window, kSecondOptionRadio));
    EXPECT_EQ(window->State().BurnOption(), 4);
    EXPECT_EQ(window->State().DiscUsed(), 3u * 2352u);
    EXPECT_TRUE(window->State().DateStamp().empty());
    // The posted Start runs and its burn ends before the window goes.
    ASSERT_TRUE(ProcessEventsUntil([&] {
        return !window->State().DateStamp().empty() && !window->BurnJobs().Running() &&
               !CancelButton(*window).isVisible();
    }));
}

TEST_F(WindowTest, AJobsCallsRunOnTheWindowThreadAndAskTheDesktop)
{
    ASSERT_TRUE(QImage(16, 8, QImage::Format_RGB32).save(Q(folder / "frame.png")));
    desktop.chosenFolder = "/out";
    desktop.chosenSaveFile = "/out/file";
    desktop.chosenExistingFile = "/in.iso";
    desktop.answerDialog = [](QDialog& dialog) {
        static_cast<CDriveSelector&>(dialog).BurnButton().click();
        return dialog.result();
    };
    const auto window = MakeWindow(desktop);
    Click(*window, kCdDataBurnerButton);   // Copy Disk disables the file buttons and the burn list
    std::vector<std::optional<std::string>> answers;
    OnJobThread([&] {
        window->EnableControls(true);
        answers = {window->ChooseOutputFolder(), window->ChooseJoinedFile(), window->ChooseIsoFileToWrite(),
                   window->ChooseIsoFileToBurn(), window->ChooseTargetRecorder()};
        window->ShowPreview((folder / "frame.png").string());
    });
    for (const int id : ControlMapIds()) EXPECT_FALSE(Enabled(*window, id)) << id;
    // The one recorder listed, picked in the selector.
    const std::vector<std::optional<std::string>> expected{"/out", "/out/file", "/out/file", "/in.iso",
                                                           std::getenv("VELMORA_RECORDERS")};
    EXPECT_EQ(answers, expected);
    EXPECT_EQ(desktop.folderTitles, QStringList{"Please select a folder for storing converted files"});
    EXPECT_EQ(desktop.filters, (QStringList{"Converted File (*.*)", "ISO Files (*.iso)", "ISO Files (*.iso)"}));
    ASSERT_TRUE(ProcessEventsUntil([&] { return window->Preview().isVisible(); }, 5000));
    EXPECT_EQ(window->Preview().PictureSize(), QSize(16, 8));
    window->HidePreview();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !window->Preview().isVisible(); }, 5000));
    EXPECT_FALSE(window->Preview().ImageReady());

    window->EnableControls(false);
    for (const int id : {kDriveList, kFirstOptionRadio, kStartButton, kAddFilesButton, kBurnList, kRemoveFilesButton})
        EXPECT_TRUE(Enabled(*window, id)) << id;
    // A posted command is a click once the window is free again.
    window->PostCommand(command::kBurnPendingOutputs);
    EXPECT_EQ(window->Mode(), kModeCdDataBurner);
    ASSERT_TRUE(ProcessEventsUntil([&] { return window->Mode() == kModeDvdDataBurner; }, 5000));
}

TEST_F(WindowTest, StartBurnsTheListAndCancelOrEscapeStopsTheBurn)
{
    const ScopedEnvironment recorders("VELMORA_RECORDERS", "stdio:" + (folder / "recorder.iso").string());
    std::filesystem::create_directory(folder / "Letters");
    WriteFile(folder / "Letters/first.txt", "Dear reader");
    const auto window = MakeWindow(desktop);
    Click(*window, kCdDataBurnerButton);
    Click(*window, kSecondOptionRadio);   // Create ISO File
    window->BurnList().AddPath(Q(folder / "Letters"));
    desktop.chosenSaveFile = Q(folder / "made");
    Burn(*window);
    EXPECT_EQ(Caption(*window, kStatusText), "Burn completed successfully!");
    const auto image = discburn::test::ReadIsoImage(folder / "made.iso", true);
    EXPECT_EQ(image.volumeId, window->State().DateStamp());
    EXPECT_EQ(image.contents.at("Letters/first.txt"), "Dear reader");

    // The user stops the next burns while they ask where to write the image.
    const std::function<void()> stops[] = {
        [&] { CancelButton(*window).click(); },
        [&] {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(window.get(), &escape);
        },
    };
    desktop.chosenSaveFile = Q(folder / "stopped.iso");
    for (const auto& stop : stops) {
        desktop.whileSaving = stop;
        Burn(*window);
        EXPECT_EQ(Caption(*window, kStatusText), "User Canceled!");
        EXPECT_FALSE(std::filesystem::exists(folder / "stopped.iso"));
    }
    EXPECT_TRUE(desktop.messages.empty());
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
        for (const auto& mode : ModeCases()) Click(window, mode.button);
        Click(window, kVideoConverterButton);
        window.ConvertList().AddListFile(QString::fromStdString(clip));
        EXPECT_EQ(window.ConvertList().topLevelItemCount(), 0);
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_TRUE(desktop.messages[0].text.contains("GetPlayLength")) << desktop.messages[0].text.toStdString();
        EXPECT_EQ(desktop.messages[0].caption, "Velmora 1.2");
        // What is bound still works: the first video's figures, in the Video Converter only.
        auto& width = *static_cast<QLineEdit*>(window.Control(kWidthEdit));
        window.ApplyVideoDefaults(clip);
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
    Click(window, kStartButton);   // a job starts only with every export it calls
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_TRUE(desktop.messages[0].text.contains("GetDefaultPara"));
    EXPECT_TRUE(desktop.messages[1].text.contains("GeTThumbNailForVideoFile"));
    EXPECT_FALSE(window.JobRunning());
    EXPECT_TRUE(Enabled(window, kStartButton));
}

TEST_F(WindowTest, TheLibrarysMessagesAreShownByTheWindowOrGoToStandardError)
{
    auto window = MakeWindow(desktop);
    OnJobThread([] { ShowLibraryMessage("CD Drive is not ready or cannot read cd. Details: no disc", "Error"); });
    const Messages shown{{"CD Drive is not ready or cannot read cd. Details: no disc", "Error", MessageKind::Plain}};
    EXPECT_EQ(desktop.messages, shown);
    window.reset();
    testing::internal::CaptureStderr();
    ShowLibraryMessage("text", "Error");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: text\n");
    EXPECT_EQ(desktop.messages, shown);
}

}  // namespace
}  // namespace velmora::front
