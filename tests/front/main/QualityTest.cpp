#include "FrontTesting.h"
#include "core/ControlIds.h"
#include "main/CMediaMaster.h"
#include "main/QualityControls.h"
#include "main/WindowControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace velmora::front {
namespace {

using namespace velmora::test;
using namespace control;
using MediaLibrary::Header::MEDIACONVERSIONINFO;

// The quality fields of a bare window.
class QualityTest : public ::testing::Test {
protected:
    QualityTest() { quality.FillRateLists(); }

    QLineEdit& Edit(int id) const { return *static_cast<QLineEdit*>(controls.all.at(id)); }
    QComboBox& DropDown(int id) const { return *static_cast<QComboBox*>(controls.all.at(id)); }
    QString Text(int id) const { return static_cast<QLabel*>(controls.all.at(id))->text(); }

    QApplication& application = TestApplication();
    QDialog window;
    QWidget* convertList = new QWidget(&window);
    QWidget* burnList = new QWidget(&window);
    WindowControls controls = BuildWindowControls(window, *convertList, *burnList);
    QualityControls quality{controls};
};

TEST_F(QualityTest, AVideosOwnFiguresFillTheFieldsAndRatesOutsideTheListsTakeADefault)
{
    EXPECT_EQ(DropDown(kSampleRateList).currentText(), "44100");
    EXPECT_EQ(DropDown(kFrameRateList).currentText(), "1");
    MEDIACONVERSIONINFO figures;
    figures.nAudioBitRate = 64;
    figures.nSampleRate = 22050;
    figures.nVideoBitRate = 300;
    figures.nWidth = 160;
    figures.nHeight = 120;
    figures.nFrameRate = 29;
    quality.Show(figures);
    EXPECT_EQ(DropDown(kFrameRateList).currentText(), "25");
    EXPECT_EQ(DropDown(kSampleRateList).currentText(), "44100");
    EXPECT_EQ(Edit(kWidthEdit).text(), "160");
    EXPECT_EQ(Edit(kHeightEdit).text(), "120");
    EXPECT_EQ(Edit(kChannelsEdit).text(), "0");
    EXPECT_EQ(Edit(kAudioBitRateEdit).text(), "64");
    EXPECT_EQ(quality.TotalBitRate(), 364);
}

TEST_F(QualityTest, TheVideoConverterCollectsEveryFieldAndEmptyOnesTakeTheJoinsDefaults)
{
    Edit(kAudioBitRateEdit).setText("128");
    Edit(kChannelsEdit).setText("2");
    DropDown(kSampleRateList).setCurrentIndex(2);
    Edit(kVideoBitRateEdit).setText("1500");
    DropDown(kFrameRateList).setCurrentIndex(8);
    Edit(kWidthEdit).setText("720");
    Edit(kHeightEdit).setText("576");
    MEDIACONVERSIONINFO request;
    request.nOutputFormat = 7;
    quality.Collect(kModeVideoConverter, request, nullptr);
    EXPECT_EQ(request.nAudioBitRate, 128);
    EXPECT_EQ(request.nAudioChannels, 2);
    EXPECT_EQ(request.nSampleRate, 96000);
    EXPECT_EQ(request.nVideoBitRate, 1500);
    EXPECT_EQ(request.nFrameRate, 30);
    EXPECT_EQ(request.nWidth, 720);
    EXPECT_EQ(request.nHeight, 576);
    EXPECT_EQ(request.nOutputFormat, 7);

    for (const int id : {kAudioBitRateEdit, kChannelsEdit, kWidthEdit, kHeightEdit}) Edit(id).clear();
    DropDown(kSampleRateList).setCurrentIndex(0);
    DropDown(kFrameRateList).setCurrentIndex(0);
    Edit(kVideoBitRateEdit).setText("800");
    MEDIACONVERSIONINFO defaults;
    defaults.nAudioBitRate = 192;
    defaults.nAudioChannels = 6;
    defaults.nSampleRate = 48000;
    defaults.nVideoBitRate = 4000;
    defaults.nWidth = 1280;
    defaults.nHeight = 720;
    defaults.nFrameRate = 24;
    quality.Collect(kModeVideoConverter, request, &defaults);
    EXPECT_EQ(request.nAudioBitRate, 192);
    EXPECT_EQ(request.nAudioChannels, 0);
    EXPECT_EQ(request.nSampleRate, 44100);   // the list always has a selection
    EXPECT_EQ(request.nVideoBitRate, 800);
    EXPECT_EQ(request.nWidth, 1280);
    EXPECT_EQ(request.nHeight, 720);
    EXPECT_EQ(request.nFrameRate, 1);
}

TEST_F(QualityTest, TheAudioConverterTakesItsFormatFromTheRadiosAndTheDvdCreatorNothing)
{
    Edit(kAudioBitRateEdit).setText("12abc");
    static_cast<QAbstractButton*>(controls.all.at(kFirstOptionRadio))->setChecked(true);
    MEDIACONVERSIONINFO request;
    quality.Collect(kModeAudioConverter, request, nullptr);
    EXPECT_EQ(request.nOutputFormat, MediaLibrary::Header::kFormatMp3);
    EXPECT_EQ(request.nAudioBitRate, 12);
    EXPECT_EQ(request.nVideoBitRate, 0);
    static_cast<QAbstractButton*>(controls.all.at(kSecondOptionRadio))->setChecked(true);
    quality.Collect(kModeAudioConverter, request, nullptr);
    EXPECT_EQ(request.nOutputFormat, MediaLibrary::Header::kFormatWav);

    MEDIACONVERSIONINFO untouched;
    untouched.nAudioBitRate = -5;
    quality.Collect(kModeDvdCreator, untouched, nullptr);
    EXPECT_EQ(untouched.nAudioBitRate, -5);
}

TEST_F(QualityTest, OutputInfoEstimatesSizeAndDuration)
{
    Edit(kVideoBitRateEdit).setText("800");
    Edit(kAudioBitRateEdit).setText("200");
    quality.ReadBitRate();
    EXPECT_EQ(quality.TotalBitRate(), 1000);
    quality.ShowOutputInfo(3661);
    EXPECT_EQ(Text(kFileSizeText), "File Size : 446.90 MB");
    EXPECT_EQ(Text(kDurationText), "Duration  : 01:01:01");
}

TEST(QualityWiring, EditingABitRateUpdatesTheOutputInfo)
{
    AnsweringDesktop desktop;
    const auto window = MakeWindow(desktop);
    Click(*window, kVideoConverterButton);
    static_cast<QLineEdit*>(window->Control(kVideoBitRateEdit))->setText("800");
    static_cast<QLineEdit*>(window->Control(kAudioBitRateEdit))->setText("200");
    EXPECT_EQ(window->TotalBitRate(), 1000);
    EXPECT_EQ(Caption(*window, kFileSizeText), "File Size : 0.00 MB");
    EXPECT_EQ(Caption(*window, kDurationText), "Duration  : 00:00");
}

}  // namespace
}  // namespace velmora::front
