#include "FrontTesting.h"
#include "ScratchFolder.h"
#include "core/ControlIds.h"
#include "lists/CFileListBox.h"
#include "main/CMediaMaster.h"
#include "main/DiscUsage.h"
#include "main/ModeTables.h"
#include "main/QualityControls.h"
#include "main/WindowControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <stdexcept>

namespace velmora::front {
namespace {

using namespace velmora::test;
using namespace control;
using MediaLibrary::Header::MEDIACONVERSIONINFO;

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr std::uint64_t kMiB = 1u << 20;
constexpr std::uint64_t kGiB = 1u << 30;

TEST(DiscUsage, ReadsInMinutesMegabytesOrGigabytesAndTheDvdOptionsLabelsAgree)
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
    for (const int option : {3, 4, 5}) {
        const DvdOption& figures = DvdOptionOf(option);
        const QString capacity = DescribeUsage(kModeDvdDataBurner, option, 0, figures.capacity).capacityText;
        EXPECT_EQ(capacity, figures.rightLabel) << option;
        EXPECT_EQ(QString(figures.leftLabel).section(' ', 1), capacity.section(' ', 1)) << option;   // the unit
    }
    EXPECT_THROW(DvdOptionOf(6), std::out_of_range);
}

TEST(ModeTables, NameOnlyControlsOfTheWorkArea)
{
    const std::set<int> map(ControlMapIds().begin(), ControlMapIds().end());
    EXPECT_EQ(map.size(), ControlMapIds().size()) << "each control once";
    std::vector<int> named;
    for (const int option : {0, 1, 2}) named = named + ControlsDisabledByCdOption(option);
    for (int mode = kModeWelcome; mode <= kModeDvdDataBurner; ++mode) {
        const ModeControls& table = ControlsOfMode(mode);
        named = named + table.hiddenOnLeave + table.shownOnLeave + table.enabledOnLeave + table.shownOnEnter +
                table.enabledOnEnter + table.disabledOnEnter;
        for (const ModeCaption& caption : table.captions) named.push_back(caption.control);
    }
    for (const int id : named) EXPECT_TRUE(map.count(id)) << id;
    EXPECT_THROW(ControlsOfMode(7), std::out_of_range);
    EXPECT_TRUE(ControlsDisabledByCdOption(3).empty());
}

TEST(DiscUsageWiring, TheBurnerOptionsSetTheUsageBarAndTheControls)
{
    AnsweringDesktop desktop;
    ScratchFolder folder;
    WriteFile(folder / "big.iso", "");
    std::filesystem::resize_file(folder / "big.iso", 3 * kGiB / 2);   // sparse
    const auto window = MakeWindow(desktop);
    const auto& progress = *static_cast<QProgressBar*>(window->Control(kProgressBar));
    Click(*window, kDvdDataBurnerButton);
    EXPECT_EQ(window->State().BurnOption(), 3);
    Click(*window, kThirdOptionRadio);
    EXPECT_EQ(window->State().BurnOption(), 5);
    EXPECT_EQ(Caption(*window, kUsageLeftLabel), "0 GB");
    EXPECT_EQ(Caption(*window, kUsageRightLabel), "8.5 GB");
    EXPECT_EQ(progress.minimum(), 1);
    EXPECT_EQ(progress.maximum(), 8912);
    window->BurnList().AddPath(Q(folder / "big.iso"));
    EXPECT_EQ(Caption(*window, kStatusText), "1.5 GB");
    EXPECT_EQ(progress.value(), 1536);
    Click(*window, kFirstOptionRadio);
    EXPECT_EQ(Caption(*window, kStatusText), "1536 MB");
    EXPECT_EQ(progress.value(), 734) << "held at the end of the range";
    Click(*window, kAudioBurnerButton);
    EXPECT_EQ(Caption(*window, kUsageLeftLabel), "0 min");
    EXPECT_EQ(progress.maximum(), 4800);

    Click(*window, kCdDataBurnerButton);   // Copy Disk
    EXPECT_EQ(progress.maximum(), 700);
    Click(*window, kSecondOptionRadio);   // Create ISO File
    for (const int id : {kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton})
        EXPECT_TRUE(Enabled(*window, id)) << id;
    for (const int id : {kDriveLabel, kDriveList}) EXPECT_FALSE(Enabled(*window, id)) << id;
    Click(*window, kThirdOptionRadio);   // Burn ISO File
    for (const int id : {kDriveLabel, kDriveList, kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton})
        EXPECT_FALSE(Enabled(*window, id)) << id;
    EXPECT_FALSE(window->BurnList().AcceptsDroppedFiles());
    Click(*window, kAudioBurnerButton);   // leaving undoes the option
    EXPECT_TRUE(Enabled(*window, kBurnList));
    EXPECT_TRUE(Enabled(*window, kDriveList));
}

// The quality fields of a bare window, in the order of the figures below.
constexpr int kFields[] = {kAudioBitRateEdit, kChannelsEdit, kVideoBitRateEdit, kWidthEdit, kHeightEdit};
constexpr std::int32_t MEDIACONVERSIONINFO::*kFigures[] = {
    &MEDIACONVERSIONINFO::nAudioBitRate, &MEDIACONVERSIONINFO::nAudioChannels, &MEDIACONVERSIONINFO::nSampleRate,
    &MEDIACONVERSIONINFO::nVideoBitRate, &MEDIACONVERSIONINFO::nWidth,         &MEDIACONVERSIONINFO::nHeight,
    &MEDIACONVERSIONINFO::nFrameRate,    &MEDIACONVERSIONINFO::nOutputFormat};
using Figures = std::array<int, std::size(kFigures)>;

Figures FiguresOf(const MEDIACONVERSIONINFO& request)
{
    Figures figures;
    for (std::size_t index = 0; index < figures.size(); ++index) figures[index] = request.*kFigures[index];
    return figures;
}

MEDIACONVERSIONINFO RequestOf(const Figures& figures)
{
    MEDIACONVERSIONINFO request;
    for (std::size_t index = 0; index < figures.size(); ++index) request.*kFigures[index] = figures[index];
    return request;
}

class QualityTest : public ::testing::Test {
protected:
    QualityTest() { quality.FillRateLists(); }

    // The fields' texts and the rate lists' choices.
    void Type(const QStringList& texts, int sampleRate = 0, int frameRate = 0)
    {
        for (int index = 0; index < texts.size(); ++index)
            static_cast<QLineEdit*>(controls.all.at(kFields[index]))->setText(texts[index]);
        DropDown(kSampleRateList).setCurrentIndex(sampleRate);
        DropDown(kFrameRateList).setCurrentIndex(frameRate);
    }
    QStringList Typed() const
    {
        QStringList texts;
        for (const int id : kFields) texts << static_cast<QLineEdit*>(controls.all.at(id))->text();
        return texts << DropDown(kSampleRateList).currentText() << DropDown(kFrameRateList).currentText();
    }
    QComboBox& DropDown(int id) const { return *static_cast<QComboBox*>(controls.all.at(id)); }
    Figures Collected(int mode, const MEDIACONVERSIONINFO* defaults = nullptr, Figures before = {})
    {
        MEDIACONVERSIONINFO request = RequestOf(before);
        quality.Collect(mode, request, defaults);
        return FiguresOf(request);
    }

    QApplication& application = TestApplication();
    QDialog window;
    WindowControls controls = BuildWindowControls(window, *new QWidget(&window), *new QWidget(&window));
    QualityControls quality{controls};
};

TEST_F(QualityTest, AVideosOwnFiguresFillTheFieldsAndRatesOutsideTheListsTakeADefault)
{
    EXPECT_EQ(Typed(), (QStringList{"", "", "", "", "", "44100", "1"}));
    quality.Show(RequestOf({64, 0, 22050, 300, 160, 120, 29, 0}));
    EXPECT_EQ(Typed(), (QStringList{"64", "0", "300", "160", "120", "44100", "25"}));
    EXPECT_EQ(quality.TotalBitRate(), 364);
}

TEST_F(QualityTest, EachModeCollectsItsFieldsAndEmptyOnesTakeTheJoinsDefaults)
{
    Type({"128", "2", "1500", "720", "576"}, 2, 8);
    EXPECT_EQ(Collected(kModeVideoConverter, nullptr, {0, 0, 0, 0, 0, 0, 0, 7}),
              (Figures{128, 2, 96000, 1500, 720, 576, 30, 7}));
    Type({"", "", "800", "", ""});
    const MEDIACONVERSIONINFO defaults = RequestOf({192, 6, 48000, 4000, 1280, 720, 24, 0});
    // Channels and frame rate are never taken; the sample rate list always has a choice.
    EXPECT_EQ(Collected(kModeVideoConverter, &defaults), (Figures{192, 0, 44100, 800, 1280, 720, 1, 0}));

    Type({"12abc"});
    static_cast<QAbstractButton*>(controls.all.at(kFirstOptionRadio))->setChecked(true);
    EXPECT_EQ(Collected(kModeAudioConverter), (Figures{12, 0, 44100, 0, 0, 0, 0, MediaLibrary::Header::kFormatMp3}));
    static_cast<QAbstractButton*>(controls.all.at(kSecondOptionRadio))->setChecked(true);
    EXPECT_EQ(Collected(kModeAudioConverter)[7], MediaLibrary::Header::kFormatWav);
    EXPECT_EQ(Collected(kModeDvdCreator, nullptr, {-5}), (Figures{-5}));
}

TEST_F(QualityTest, OutputInfoEstimatesSizeAndDuration)
{
    Type({"200", "", "800"});
    quality.ReadBitRate();
    EXPECT_EQ(quality.TotalBitRate(), 1000);
    quality.ShowOutputInfo(3661);
    EXPECT_EQ(static_cast<QLabel*>(controls.all.at(kFileSizeText))->text(), "File Size : 446.90 MB");
    EXPECT_EQ(static_cast<QLabel*>(controls.all.at(kDurationText))->text(), "Duration  : 01:01:01");
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
