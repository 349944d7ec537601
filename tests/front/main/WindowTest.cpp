#include "BurnTestSupport.h"
#include "CdImage.h"
#include "FrontTesting.h"
#include "LoopbackHttpServer.h"
#include "ScratchFolder.h"
#include "burnjobs/CDriveSelector.h"
#include "core/ControlIds.h"
#include "lists/CFileListBox.h"
#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "main/DiscUsage.h"
#include "main/LibraryMessages.h"
#include "main/ModeTables.h"
#include "main/UserGuide.h"
#include "support/CShowThumbNail.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <stdexcept>

namespace velmora::front {
namespace {

namespace fs = std::filesystem;
using namespace velmora::test;
using namespace control;
using MediaLibrary::Header::MEDIACONVERSIONINFO;

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
    int button, mode, heading;
    std::set<int> shown;      // besides the heading and Start
    std::set<int> disabled;   // the rest of those shown is enabled
    std::set<int> checked;
};

const std::vector<ModeCase>& ModeCases()
{
    static const std::set<int> formats{kFormatGroup, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio,
                                       kM4vRadio, kMp4Radio, kMovRadio};
    static const std::set<int> sound{kSoundGroup, kAudioBitRateEdit, kAudioBitRateLabel, kAudioBitRateUnit,
                                     kChannelsEdit, kChannelsLabel, kSampleRateList, kSampleRateLabel, kSampleRateUnit};
    static const std::set<int> options{kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio};
    static const std::set<int> files{kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton};
    static const std::set<int> drive{kDriveLabel, kDriveList};
    static const std::set<int> verify{kVerifyCheck};   // checked in every burner mode
    static const std::vector<ModeCase> cases{
        {kAudioConverterButton, kModeAudioConverter, kRowAudioConverterHeading,
         formats + sound + drive + std::set{kConvertList}, {kThirdOptionRadio, kM4vRadio, kMp4Radio, kMovRadio},
         {kFirstOptionRadio}},
        {kVideoConverterButton, kModeVideoConverter, kRowVideoConverterHeading,
         formats + sound +
             std::set{kVideoGroup, kVideoBitRateLabel, kVideoBitRateEdit, kVideoBitRateUnit, kVideoSizeLabel,
                      kWidthEdit, kVideoSizeTimes, kHeightEdit, kFrameRateList, kFrameRateLabel, kFrameRateUnit,
                      kConvertList, kAddFilesButton, kRemoveFilesButton, kOptionsGroup, kJoinFilesCheck,
                      kBurnOutputCheck, kOutputInfoGroup, kFileSizeText, kDurationText},
         {kJoinFilesCheck}, {kFirstOptionRadio}},
        {kDvdCreatorButton, kModeDvdCreator, kRowDvdCreatorHeading,
         options + std::set{kConvertList, kVideoGroup, kDvdAudioBestRadio, kDvdAudioGoodRadio, kDvdAudioLowRadio,
                            kDvdVideoBestRadio, kDvdVideoGoodRadio, kDvdVideoLowRadio, kAddFilesButton,
                            kRemoveFilesButton, kSoundGroup, kDvdMenuGroup},
         {}, {kFirstOptionRadio, kDvdAudioBestRadio, kDvdVideoGoodRadio}},
        {kAudioBurnerButton, kModeAudioBurner, kRowAudioBurnerHeading,
         drive + verify + std::set{kAddFilesButton, kUsageLeftLabel, kUsageRightLabel, kBurnList, kRemoveFilesButton},
         {}, verify},
        {kCdDataBurnerButton, kModeCdDataBurner, kRowCdDataBurnerHeading, options + files + drive + verify,
         files,   // Copy Disk
         verify + std::set{kFirstOptionRadio}},
        {kDvdDataBurnerButton, kModeDvdDataBurner, kRowDvdDataBurnerHeading,
         options + files + drive + verify + std::set{kUsageLeftLabel, kUsageRightLabel}, {},
         verify + std::set{kFirstOptionRadio}},
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
}

class WindowTest : public ::testing::Test {
protected:
    AnsweringDesktop desktop;
    ScratchFolder folder;
};

TEST_F(WindowTest, StartsInTheWelcomeStateWhereStartOnlyStampsTheDateAndHelpOpensTheUserGuide)
{
    const auto window = MakeWindow(desktop);
    EXPECT_EQ(ShownControls(*window), (std::set<int>{kStartButton, kBackground}));
    Click(*window, kStartButton);
    const QString stamp = QString::fromStdString(window->State().DateStamp());
    EXPECT_TRUE(QRegularExpression("^\\d{4}_\\d{2}_\\d{2}$").match(stamp).hasMatch()) << stamp.toStdString();
    Click(*window, kHelpButton);   // the guide is built beside the programs
    const QString built = QCoreApplication::applicationDirPath() + "/Help.pdf";
    EXPECT_EQ(desktop.openedUrls, std::vector{QUrl::fromLocalFile(built)});
    EXPECT_EQ(window->Mode(), kModeWelcome);

    // Installed, it is in the data folder.
    fs::create_directories(folder / "bin");
    fs::create_directories(folder / "share/velmora");
    EXPECT_EQ(FindUserGuide(Q(folder / "bin")), "");
    WriteFile(folder / "share/velmora/Help.pdf", "%PDF-");
    EXPECT_EQ(FindUserGuide(Q(folder / "bin")), Q(fs::canonical(folder / "share/velmora/Help.pdf")));
}

TEST_F(WindowTest, EveryModeShowsItsControlsAndHeadingWhicheverModeCameBefore)
{
    for (const bool english : {true, false}) {
        const UiStrings strings(english);
        for (const auto& to : ModeCases()) {
            const auto window = MakeWindow(desktop, english);
            for (int from = kModeWelcome; from <= kModeDvdDataBurner; ++from) {
                const std::string route = std::to_string(from) + " -> " + std::to_string(to.mode);
                if (from != kModeWelcome) Click(*window, ModeCases()[static_cast<std::size_t>(from - 1)].button);
                Click(*window, to.button);
                EXPECT_EQ(window->Mode(), to.mode) << route;
                EXPECT_EQ(Caption(*window, kHeading), strings[to.heading]) << route;
                EXPECT_EQ(ShownControls(*window), (to.shown + std::set{kHeading, kStartButton})) << route;
                for (const int id : to.shown) EXPECT_EQ(Enabled(*window, id), !to.disabled.count(id)) << route << id;
                for (const int id : to.checked) EXPECT_TRUE(Checked(*window, id)) << route << ": " << id;
                // Leaving a burner mode takes its recorders out of the drop-down; the list shown takes
                // dropped files in the modes that add files.
                const bool converter = to.mode == kModeVideoConverter || to.mode == kModeDvdCreator;
                EXPECT_TRUE(!converter || static_cast<QComboBox*>(window->Control(kDriveList))->count() == 0) << route;
                const bool drops = to.shown.count(kConvertList) ? window->ConvertList().AcceptsDroppedFiles()
                                                                : window->BurnList().AcceptsDroppedFiles();
                EXPECT_EQ(drops, to.shown.count(kAddFilesButton) && !to.disabled.count(kAddFilesButton)) << route;
            }
        }
    }
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(WindowTest, WhileBusyModeButtonsExitEscapeAndTheCloseBoxRefuseAndNothingChanges)
{
    const auto window = MakeWindow(desktop);
    Click(*window, kVideoConverterButton);
    const auto shownBefore = ShownControls(*window);
    window->State().SetBusy(true);
    for (const auto& mode : ModeCases()) Click(*window, mode.button);
    Click(*window, kExitButton);
    window->reject();   // Escape: stops a running job, says nothing
    window->close();    // the close box
    EXPECT_EQ(desktop.messages, Messages(8, {"Engine Busy", "Media Conversion", MessageKind::Plain}));
    EXPECT_EQ(ShownControls(*window), shownBefore);
    EXPECT_TRUE(window->isVisible());
    // The current mode's button alone looks pressed, whatever was clicked.
    for (const auto& mode : ModeCases())
        EXPECT_EQ(Checked(*window, mode.button), mode.button == kVideoConverterButton) << mode.button;

    // Idle, Enter presses nothing and Escape asks before the window goes.
    window->State().SetBusy(false);
    desktop.messages.clear();
    QTest::keyClick(window.get(), Qt::Key_Return);
    desktop.answer = false;
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(desktop.messages, Messages(1, {"Do you want to close Media Library?", "Velmora 1.2", MessageKind::Question}));
    desktop.answer = true;
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
    EXPECT_TRUE(Checked(*window, kSecondOptionRadio));   // DVD
    EXPECT_EQ(window->State().DiscUsed(), 3u * 2352u);
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
    desktop.chosenExisting = "/in.iso";
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
                   window->ChooseIsoFileToBurn(), window->ChooseTargetRecorder(false)};
        window->ShowPreview((folder / "frame.png").string());
    });
    for (const int id : ControlMapIds()) EXPECT_FALSE(Enabled(*window, id)) << id;
    // The one recorder listed, picked in the selector.
    const std::vector<std::optional<std::string>> expected{"/out", "/out/file", "/out/file", "/in.iso",
                                                           std::getenv("VELMORA_RECORDERS")};
    EXPECT_EQ(answers, expected);
    ASSERT_TRUE(ProcessEventsUntil([&] { return window->Preview().isVisible(); }, 5000));
    EXPECT_EQ(window->Preview().PictureSize(), QSize(16, 8));
    window->HidePreview();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !window->Preview().isVisible(); }, 5000));

    // Free again, every control is as the mode and its option make it: Copy Disk keeps the list off.
    window->EnableControls(false);
    for (const int id : {kDriveList, kFirstOptionRadio, kStartButton}) EXPECT_TRUE(Enabled(*window, id));
    for (const int id : {kBurnList, kAddFilesButton, kRemoveFilesButton}) EXPECT_FALSE(Enabled(*window, id));
    // A posted command is a click once the window is free again.
    window->PostCommand(command::kBurnPendingOutputs);
    EXPECT_EQ(window->Mode(), kModeCdDataBurner);
    ASSERT_TRUE(ProcessEventsUntil([&] { return window->Mode() == kModeDvdDataBurner; }, 5000));
}

TEST_F(WindowTest, StartBurnsTheListAndCancelOrEscapeStopsTheBurn)
{
    const ScopedEnvironment recorders("VELMORA_RECORDERS", "stdio:" + (folder / "recorder.iso").string());
    fs::create_directory(folder / "Letters");
    WriteFile(folder / "Letters/first.txt", "Dear reader");
    const auto window = MakeWindow(desktop);
    Click(*window, kCdDataBurnerButton);
    Click(*window, kSecondOptionRadio);   // Create ISO File
    window->BurnList().AddPath(Q(folder / "Letters"));
    Settle(window->BurnList());
    desktop.chosenSaveFile = Q(folder / "made");
    Burn(*window);
    EXPECT_EQ(Caption(*window, kStatusText), "Burn completed successfully!");
    const auto image = discburn::test::ReadIsoImage(folder / "made.iso", true);
    EXPECT_EQ(image.volumeId, window->State().DateStamp());

    // The user stops the next burns while they ask where to write the image.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    const std::function<void()> stops[] = {[&] { CancelButton(*window).click(); },
                                           [&] { QApplication::sendEvent(window.get(), &escape); }};
    desktop.chosenSaveFile = Q(folder / "stopped.iso");
    for (const auto& stop : stops) {
        desktop.whileSaving = stop;
        Burn(*window);
        EXPECT_EQ(Caption(*window, kStatusText), "User Canceled!");
        EXPECT_FALSE(fs::exists(folder / "stopped.iso"));
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(desktop.messages.empty());

    // Asked to end by the system: the burn is cancelled first, then the window closes.
    desktop.whileSaving = [&] { window->EndSoon(); };
    Burn(*window);
    EXPECT_EQ(Caption(*window, kStatusText), "User Canceled!");
    EXPECT_FALSE(fs::exists(folder / "stopped.iso"));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(WindowTest, FoldersHandedOnToTheBurnerAreBurntOnceTheListHasReadThem)
{
    const ScopedEnvironment recorders("VELMORA_RECORDERS", "stdio:" + (folder / "dvd.iso").string());
    fs::create_directories(folder / "disc/VIDEO_TS");
    WriteFile(folder / "disc/VIDEO_TS/VIDEO_TS.IFO", "the menu");
    const auto window = MakeWindow(desktop);
    window->State().AddPendingOutput((folder / "disc/VIDEO_TS").string());
    window->PostCommand(command::kBurnPendingOutputs);
    ASSERT_TRUE(ProcessEventsUntil([&] { return Caption(*window, kStatusText).startsWith("Burn completed"); }, 60000))
        << Caption(*window, kStatusText).toStdString();
    EXPECT_EQ(discburn::test::ReadIsoImage(folder / "dvd.iso", true).contents.at("VIDEO_TS/VIDEO_TS.IFO"), "the menu");
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
        EXPECT_TRUE(desktop.messages[0].text.contains("GetMediaFacts")) << desktop.messages[0].text.toStdString();
        // What is bound still works: the first video's figures, in the Video Converter only; rates
        // outside the lists take their defaults.
        auto& width = *static_cast<QLineEdit*>(window.Control(kWidthEdit));
        const auto choice = [&](int id) { return static_cast<QComboBox*>(window.Control(id))->currentText(); };
        MediaLibrary::Header::MEDIACONVERSIONINFO figures{};
        ASSERT_TRUE(Lumetra().GetDefaultPara()(&figures));
        window.ApplyVideoDefaults(figures);
        EXPECT_EQ((QStringList{width.text(), choice(kSampleRateList), choice(kFrameRateList)}),
                  (QStringList{"640", "44100", "25"}));
        EXPECT_EQ(window.TotalBitRate(), 996);
        Click(window, kDvdCreatorButton);
        width.clear();
        window.ApplyVideoDefaults(figures);
        EXPECT_EQ(width.text(), "");
    }
    desktop.messages.clear();
    CMediaMaster window(true, desktop, folder / "libNothing.so");
    Click(window, kVideoConverterButton);
    Click(window, kStartButton);   // a job starts only with every export it calls
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_TRUE(desktop.messages[0].text.contains("GeTThumbNailForVideoFile"));
    EXPECT_FALSE(window.JobRunning());
}

TEST_F(WindowTest, TheLibrarysMessagesAreShownByTheWindowOrGoToStandardError)
{
    auto window = MakeWindow(desktop);
    OnJobThread([] { ShowLibraryMessage("CD Drive is not ready", "Error"); });
    const Messages shown{{"CD Drive is not ready", "Error", MessageKind::Plain}};
    EXPECT_EQ(desktop.messages, shown);
    window.reset();
    testing::internal::CaptureStderr();
    ShowLibraryMessage("text", "Error");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: text\n");
    EXPECT_EQ(desktop.messages, shown);
}

constexpr std::uint64_t kMiB = 1u << 20;
constexpr std::uint64_t kGiB = 1u << 30;

TEST(DiscUsage, ReadsInMinutesMegabytesOrGigabytes)
{
    // Mode, option, used, capacity; the right label, the status text and the bar's position.
    const std::tuple<int, int, std::uint64_t, std::uint64_t, const char*, const char*, std::uint64_t> cases[] = {
        {kModeAudioBurner, 0, 61, kAudioCdSeconds, "80 min", "1 min", 61},
        {kModeAudioBurner, 0, 0, kAudioCdSeconds, "80 min", "0 min", 0},
        {kModeDvdDataBurner, 3, 3 * kGiB / 2, DvdOptionOf(3).capacity, "700 MB", "1536 MB", 1536},
        {kModeDvdDataBurner, 4, 3 * kGiB / 2, DvdOptionOf(4).capacity, "4.5 GB", "1.5 GB", 1536},
        {kModeDvdDataBurner, 4, 0, DvdOptionOf(4).capacity, "4.5 GB", "", 0},
        {kModeDvdDataBurner, 5, 13 * kGiB / 2, DvdOptionOf(5).capacity, "8.5 GB", "6.5 GB", 6656},   // past 4 GiB
        {kModeCdDataBurner, 1, 3 * kMiB, kCdDataBytes, "", "", 3},
    };
    for (const auto& [mode, option, used, capacity, capacityText, usedText, position] : cases) {
        const UsageDisplay shown = DescribeUsage(mode, option, used, capacity);
        EXPECT_EQ(std::tuple(shown.capacityText, shown.usedText, shown.position),
                  std::tuple(QString(capacityText), QString(usedText), position))
            << mode << "/" << option << ": " << used;
    }
}

TEST_F(WindowTest, TheBurnOptionsSetTheUsageBarAndWhichControlsTakePart)
{
    WriteFile(folder / "big.iso", "");
    fs::resize_file(folder / "big.iso", 3 * kGiB / 2);   // sparse
    const auto window = MakeWindow(desktop);
    const auto& progress = *static_cast<QProgressBar*>(window->Control(kProgressBar));
    Click(*window, kDvdDataBurnerButton);
    Click(*window, kThirdOptionRadio);   // DVD-DL
    EXPECT_EQ(progress.maximum(), 8912);
    window->BurnList().AddPath(Q(folder / "big.iso"));
    EXPECT_EQ(Caption(*window, kStatusText), "1.5 GB");
    EXPECT_EQ(progress.value(), 1536);
    Click(*window, kFirstOptionRadio);
    EXPECT_EQ(progress.value(), 734) << "held at the end of the range";
    Click(*window, kAudioBurnerButton);
    EXPECT_EQ(progress.maximum(), 4800);

    Click(*window, kCdDataBurnerButton);   // Copy Disk
    EXPECT_EQ(progress.maximum(), 700);
    // Create ISO File needs no drive, Burn ISO File neither a drive nor files.
    for (const int radio : {kSecondOptionRadio, kThirdOptionRadio}) {
        Click(*window, radio);
        EXPECT_FALSE(Enabled(*window, kDriveLabel) || Enabled(*window, kDriveList)) << radio;
        for (const int id : {kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton})
            EXPECT_EQ(Enabled(*window, id), radio == kSecondOptionRadio) << radio << ": " << id;
        EXPECT_EQ(window->BurnList().AcceptsDroppedFiles(), radio == kSecondOptionRadio);
    }
    Click(*window, kAudioBurnerButton);   // leaving undoes the option
    EXPECT_TRUE(Enabled(*window, kBurnList));
    EXPECT_TRUE(Enabled(*window, kDriveList));
}

// Audio bit rate, channels, sample rate, video bit rate, width, height, frame rate, output format.
constexpr std::int32_t MEDIACONVERSIONINFO::*kFigures[] = {
    &MEDIACONVERSIONINFO::nAudioBitRate, &MEDIACONVERSIONINFO::nAudioChannels, &MEDIACONVERSIONINFO::nSampleRate,
    &MEDIACONVERSIONINFO::nVideoBitRate, &MEDIACONVERSIONINFO::nWidth,         &MEDIACONVERSIONINFO::nHeight,
    &MEDIACONVERSIONINFO::nFrameRate,    &MEDIACONVERSIONINFO::nOutputFormat};
using Figures = std::array<int, std::size(kFigures)>;

MEDIACONVERSIONINFO RequestOf(const Figures& figures)
{
    MEDIACONVERSIONINFO request;
    for (std::size_t index = 0; index < figures.size(); ++index) request.*kFigures[index] = figures[index];
    return request;
}

TEST_F(WindowTest, EachModeCollectsItsQualityFieldsAndTheBitRatesFeedTheOutputInfo)
{
    const auto window = MakeWindow(desktop);
    // The edits in the order of the figures, then the rate lists' choices.
    const auto type = [&](const QStringList& texts, int sampleRate = 0, int frameRate = 0) {
        const int edits[] = {kAudioBitRateEdit, kChannelsEdit, kVideoBitRateEdit, kWidthEdit, kHeightEdit};
        for (int index = 0; index < texts.size(); ++index)
            static_cast<QLineEdit*>(window->Control(edits[index]))->setText(texts[index]);
        static_cast<QComboBox*>(window->Control(kSampleRateList))->setCurrentIndex(sampleRate);
        static_cast<QComboBox*>(window->Control(kFrameRateList))->setCurrentIndex(frameRate);
    };
    const auto collect = [&](const Figures& before = {}, const MEDIACONVERSIONINFO* defaults = nullptr) {
        MEDIACONVERSIONINFO request = RequestOf(before);
        window->CollectSettings(request, defaults);
        Figures figures;
        for (std::size_t index = 0; index < figures.size(); ++index) figures[index] = request.*kFigures[index];
        return figures;
    };
    Click(*window, kVideoConverterButton);
    type({"200", "", "800"});
    EXPECT_EQ(window->TotalBitRate(), 1000);
    window->UpdateOutputInfo(3661);
    EXPECT_EQ(Caption(*window, kFileSizeText), "File Size : 446.90 MB");
    EXPECT_EQ(Caption(*window, kDurationText), "Duration  : 01:01:01");

    type({"128", "2", "1500", "720", "576"}, 2, 8);
    EXPECT_EQ(collect({0, 0, 0, 0, 0, 0, 0, 7}), (Figures{128, 2, 96000, 1500, 720, 576, 30, 7}));
    // A join's empty fields take the first file's figures, but never its channels or frame rate.
    type({"", "", "800", "", ""});
    const MEDIACONVERSIONINFO defaults = RequestOf({192, 6, 48000, 4000, 1280, 720, 24, 0});
    EXPECT_EQ(collect({}, &defaults), (Figures{192, 0, 44100, 800, 1280, 720, 1, 0}));

    Click(*window, kAudioConverterButton);   // MP3
    type({"12abc"});
    EXPECT_EQ(collect(), (Figures{12, 0, 44100, 0, 0, 0, 0, MediaLibrary::Header::kFormatMp3}));
    Click(*window, kSecondOptionRadio);
    EXPECT_EQ(collect()[7], MediaLibrary::Header::kFormatWav);
    Click(*window, kDvdCreatorButton);
    EXPECT_EQ(collect({-5}), (Figures{-5}));
}

}  // namespace
}  // namespace velmora::front
