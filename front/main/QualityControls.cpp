#include "QualityControls.h"

#include "WindowControls.h"
#include "core/ControlIds.h"
#include "core/Mode.h"
#include "lists/Entries.h"
#include "Lumetra.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <cstdio>
#include <cstdlib>

using MediaLibrary::Header::MEDIACONVERSIONINFO;

namespace velmora::front {
namespace {

constexpr int kEditTextLimit = 50;
const char* const kSampleRates[] = {"44100", "48000", "96000"};
const char* const kFrameRates[] = {"1", "2", "4", "8", "12", "16", "24", "25", "30", "50"};

int SampleRateIndex(int rate)
{
    if (rate == 48000) return 1;
    if (rate == 96000) return 2;
    return 0;
}

int FrameRateIndex(int rate)
{
    switch (rate) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    case 8: return 3;
    case 12: return 4;
    case 16: return 5;
    case 24: return 6;
    case 30: return 8;
    case 50: return 9;
    default: return 7;   // "25"
    }
}

// Decimal text to integer as the C library reads it: leading digits count, no digits give 0.
int TextNumber(const QString& text)
{
    return std::atoi(text.left(kEditTextLimit).toUtf8().constData());
}

template <typename Widget>
Widget& ControlAs(const WindowControls& controls, int id)
{
    return *static_cast<Widget*>(controls.all.at(id));
}

}  // namespace

void QualityControls::FillRateLists()
{
    auto& sampleRates = ControlAs<QComboBox>(controls_, control::kSampleRateList);
    for (const char* rate : kSampleRates) sampleRates.addItem(rate);
    sampleRates.setCurrentIndex(0);
    auto& frameRates = ControlAs<QComboBox>(controls_, control::kFrameRateList);
    for (const char* rate : kFrameRates) frameRates.addItem(rate);
    frameRates.setCurrentIndex(0);
}

void QualityControls::Show(const MEDIACONVERSIONINFO& figures)
{
    ControlAs<QLineEdit>(controls_, control::kAudioBitRateEdit).setText(QString::number(figures.nAudioBitRate));
    ControlAs<QLineEdit>(controls_, control::kChannelsEdit).setText(QString::number(figures.nAudioChannels));
    ControlAs<QLineEdit>(controls_, control::kVideoBitRateEdit).setText(QString::number(figures.nVideoBitRate));
    ControlAs<QLineEdit>(controls_, control::kWidthEdit).setText(QString::number(figures.nWidth));
    ControlAs<QLineEdit>(controls_, control::kHeightEdit).setText(QString::number(figures.nHeight));
    ControlAs<QComboBox>(controls_, control::kSampleRateList).setCurrentIndex(SampleRateIndex(figures.nSampleRate));
    ControlAs<QComboBox>(controls_, control::kFrameRateList).setCurrentIndex(FrameRateIndex(figures.nFrameRate));
    totalBitRate_ = figures.nVideoBitRate + figures.nAudioBitRate;
}

void QualityControls::Collect(int mode, MEDIACONVERSIONINFO& request, const MEDIACONVERSIONINFO* defaults) const
{
    if (mode == kModeDvdCreator) return;
    request.nAudioBitRate = EditNumber(control::kAudioBitRateEdit);
    request.nAudioChannels = EditNumber(control::kChannelsEdit);
    request.nSampleRate = TextNumber(ControlAs<QComboBox>(controls_, control::kSampleRateList).currentText());
    if (mode == kModeAudioConverter) {
        const int checked = controls_.formatGroup->checkedId();
        if (checked == control::kFirstOptionRadio) request.nOutputFormat = MediaLibrary::Header::kFormatMp3;
        else if (checked == control::kSecondOptionRadio) request.nOutputFormat = MediaLibrary::Header::kFormatWav;
    }
    if (mode != kModeVideoConverter) return;
    request.nVideoBitRate = EditNumber(control::kVideoBitRateEdit);
    request.nFrameRate = TextNumber(ControlAs<QComboBox>(controls_, control::kFrameRateList).currentText());
    request.nWidth = EditNumber(control::kWidthEdit);
    request.nHeight = EditNumber(control::kHeightEdit);
    if (!defaults) return;
    for (auto field : {&MEDIACONVERSIONINFO::nAudioBitRate, &MEDIACONVERSIONINFO::nSampleRate,
                       &MEDIACONVERSIONINFO::nVideoBitRate, &MEDIACONVERSIONINFO::nWidth, &MEDIACONVERSIONINFO::nHeight})
        if (request.*field <= 0) request.*field = defaults->*field;
}

void QualityControls::ReadBitRate()
{
    totalBitRate_ = EditNumber(control::kVideoBitRateEdit) + EditNumber(control::kAudioBitRateEdit);
}

void QualityControls::ShowOutputInfo(std::int64_t totalSeconds) const
{
    const std::uint64_t kilobits = static_cast<std::uint64_t>(totalBitRate_) * static_cast<std::uint64_t>(totalSeconds);
    char size[64];
    std::snprintf(size, sizeof size, "File Size : %0.2f MB", static_cast<double>(kilobits) * 0.125 / 1024);
    ControlAs<QLabel>(controls_, control::kFileSizeText).setText(QString::fromUtf8(size));
    ControlAs<QLabel>(controls_, control::kDurationText)
        .setText("Duration  : " + QString::fromStdString(FormatDuration(totalSeconds)));
}

int QualityControls::EditNumber(int id) const
{
    return TextNumber(ControlAs<QLineEdit>(controls_, id).text());
}

}  // namespace velmora::front
