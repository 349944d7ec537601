#include "lists/CListCtrlEx.h"
#include "main/CMediaMaster.h"
#include "FrontTesting.h"
#include "Lumetra.h"
#include "Media.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <future>

namespace {

namespace control = velmora::front::control;

using MediaLibrary::Header::MEDIACONVERSIONINFO;
using velmora::front::CMediaMaster;
using velmora::test::AnsweringDesktop;
using velmora::test::Caption;
using velmora::test::Click;
using velmora::test::MakeWindow;
using velmora::test::ScratchFolder;

QLineEdit& Edit(const CMediaMaster& window, int id)
{
    return *static_cast<QLineEdit*>(window.Control(id));
}

QComboBox& DropDown(const CMediaMaster& window, int id)
{
    return *static_cast<QComboBox*>(window.Control(id));
}

class QualityTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        clips = new ScratchFolder;
        // 29 frames per second and 22050 Hz: neither is in the window's lists.
        ASSERT_TRUE(velmora::test::RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=29", "-f", "lavfi",
                                              "-i", "sine=frequency=440:sample_rate=22050", "-t", "2", "-c:v",
                                              "mpeg4", "-b:v", "300k", "-c:a", "libmp3lame", "-b:a", "64k",
                                              (*clips / "odd.avi").string()}));
    }
    static void TearDownTestSuite()
    {
        delete clips;
        clips = nullptr;
    }

    static inline ScratchFolder* clips = nullptr;
    AnsweringDesktop desktop;
};

TEST_F(QualityTest, FirstVideoFillsTheQualityControlsFromItsStreams)
{
    const auto window = MakeWindow(desktop);
    EXPECT_EQ(DropDown(*window, control::kSampleRateList).currentText(), "44100");
    EXPECT_EQ(DropDown(*window, control::kFrameRateList).currentText(), "1");
    Click(*window, control::kVideoConverterButton);
    window->ConvertList().AddListFile(QString::fromStdString((*clips / "odd.avi").string()));
    ASSERT_EQ(window->ConvertList().topLevelItemCount(), 1);
    EXPECT_EQ(DropDown(*window, control::kFrameRateList).currentText(), "25");
    EXPECT_EQ(DropDown(*window, control::kSampleRateList).currentText(), "44100");
    EXPECT_EQ(Edit(*window, control::kWidthEdit).text(), "160");
    EXPECT_EQ(Edit(*window, control::kHeightEdit).text(), "120");
    EXPECT_EQ(Edit(*window, control::kChannelsEdit).text(), "0");
    const int audio = Edit(*window, control::kAudioBitRateEdit).text().toInt();
    const int video = Edit(*window, control::kVideoBitRateEdit).text().toInt();
    EXPECT_GT(audio, 0);
    EXPECT_GT(video, 0);
    EXPECT_EQ(window->TotalBitRate(), audio + video);
}

TEST_F(QualityTest, DefaultsAreNotReadOutsideTheVideoConverter)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kDvdCreatorButton);
    window->ApplyVideoDefaults((*clips / "odd.avi").string());
    EXPECT_EQ(Edit(*window, control::kWidthEdit).text(), "");
}

TEST_F(QualityTest, CollectSettingsReadsTheVideoControls)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kVideoConverterButton);
    Edit(*window, control::kAudioBitRateEdit).setText("128");
    Edit(*window, control::kChannelsEdit).setText("2");
    DropDown(*window, control::kSampleRateList).setCurrentIndex(2);
    Edit(*window, control::kVideoBitRateEdit).setText("1500");
    DropDown(*window, control::kFrameRateList).setCurrentIndex(8);
    Edit(*window, control::kWidthEdit).setText("720");
    Edit(*window, control::kHeightEdit).setText("576");
    MEDIACONVERSIONINFO request;
    request.nOutputFormat = 7;
    window->CollectSettings(request);
    EXPECT_EQ(request.nAudioBitRate, 128);
    EXPECT_EQ(request.nAudioChannels, 2);
    EXPECT_EQ(request.nSampleRate, 96000);
    EXPECT_EQ(request.nVideoBitRate, 1500);
    EXPECT_EQ(request.nFrameRate, 30);
    EXPECT_EQ(request.nWidth, 720);
    EXPECT_EQ(request.nHeight, 576);
    EXPECT_EQ(request.nOutputFormat, 7);
}

TEST_F(QualityTest, EmptyFieldsTakeTheDefaultsExceptChannelsAndFrameRate)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kVideoConverterButton);
    Edit(*window, control::kVideoBitRateEdit).setText("800");
    MEDIACONVERSIONINFO defaults;
    defaults.nAudioBitRate = 192;
    defaults.nAudioChannels = 6;
    defaults.nSampleRate = 48000;
    defaults.nVideoBitRate = 4000;
    defaults.nWidth = 1280;
    defaults.nHeight = 720;
    defaults.nFrameRate = 24;
    MEDIACONVERSIONINFO request;
    // Collected by a job thread, as the jobs will do.
    auto collect = std::async(std::launch::async, [&] { window->CollectSettings(request, &defaults); });
    while (collect.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) velmora::test::ProcessEvents();
    collect.get();
    EXPECT_EQ(request.nAudioBitRate, 192);
    EXPECT_EQ(request.nAudioChannels, 0);
    EXPECT_EQ(request.nSampleRate, 44100);   // the list always has a selection
    EXPECT_EQ(request.nVideoBitRate, 800);
    EXPECT_EQ(request.nWidth, 1280);
    EXPECT_EQ(request.nHeight, 720);
    EXPECT_EQ(request.nFrameRate, 1);
}

TEST_F(QualityTest, AudioConverterSetsTheFormatFromTheRadios)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kAudioConverterButton);
    Edit(*window, control::kAudioBitRateEdit).setText("12abc");
    MEDIACONVERSIONINFO request;
    window->CollectSettings(request);
    EXPECT_EQ(request.nOutputFormat, 2);   // MP3 is checked on entry
    EXPECT_EQ(request.nAudioBitRate, 12);
    EXPECT_EQ(request.nVideoBitRate, 0);
    Click(*window, control::kSecondOptionRadio);
    window->CollectSettings(request);
    EXPECT_EQ(request.nOutputFormat, 1);
}

TEST_F(QualityTest, DvdCreatorLeavesTheRequestAlone)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kDvdCreatorButton);
    Edit(*window, control::kAudioBitRateEdit).setText("128");
    MEDIACONVERSIONINFO request;
    request.nAudioBitRate = -5;
    window->CollectSettings(request);
    EXPECT_EQ(request.nAudioBitRate, -5);
}

TEST_F(QualityTest, OutputInfoEstimatesSizeAndDuration)
{
    const auto window = MakeWindow(desktop);
    Click(*window, control::kVideoConverterButton);
    Edit(*window, control::kVideoBitRateEdit).setText("800");
    Edit(*window, control::kAudioBitRateEdit).setText("200");
    EXPECT_EQ(window->TotalBitRate(), 1000);
    window->UpdateOutputInfo(3661);
    EXPECT_EQ(Caption(*window, control::kFileSizeText), "File Size : 446.90 MB");
    EXPECT_EQ(Caption(*window, control::kDurationText), "Duration  : 01:01:01");

    window->ConvertList().AddListFile(QString::fromStdString((*clips / "odd.avi").string()));
    Edit(*window, control::kVideoBitRateEdit).clear();
    Edit(*window, control::kAudioBitRateEdit).clear();
    EXPECT_EQ(window->TotalBitRate(), 0);
    EXPECT_EQ(Caption(*window, control::kFileSizeText), "File Size : 0.00 MB");
    EXPECT_EQ(Caption(*window, control::kDurationText), "Duration  : 00:02");
}

}  // namespace
