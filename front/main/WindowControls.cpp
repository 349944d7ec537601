#include "WindowControls.h"

#include "Artwork.h"
#include "ModeTables.h"
#include "StatusLine.h"
#include "core/ControlIds.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace velmora::front {

using namespace control;

namespace {

enum class Kind { ModeButton, Button, Label, Heading, Group, Radio, Check, NumberEdit, DropDown, Picture, Placed };

struct ControlPlacement {
    int id;
    Kind kind;
    const char* text;
    QRect geometry;
};

// Creation order is stacking order: group boxes first, and the second column of format radios
// above the first, whose wider captions (DVD Creator) run under it only when it is hidden.
const ControlPlacement kControls[] = {
    {kAudioConverterButton, Kind::ModeButton, "Audio Converter", {10, 10, 160, 78}},
    {kVideoConverterButton, Kind::ModeButton, "Video Converter", {10, 96, 160, 78}},
    {kDvdCreatorButton, Kind::ModeButton, "DVD Creator", {10, 182, 160, 78}},
    {kAudioBurnerButton, Kind::ModeButton, "Audio Burner", {10, 268, 160, 78}},
    {kCdDataBurnerButton, Kind::ModeButton, "CD Data Burner", {10, 354, 160, 78}},
    {kDvdDataBurnerButton, Kind::ModeButton, "DVD Data Burner", {10, 440, 160, 78}},
    {kHelpButton, Kind::ModeButton, "Help", {10, 560, 160, 50}},
    {kBackground, Kind::Picture, "", {190, 10, 625, 626}},
    {kWelcomeText, Kind::Heading, "", {190, 10, 625, 60}},
    {kHeading, Kind::Heading, "", {190, 10, 625, 42}},
    {kFormatGroup, Kind::Group, "Output Formats", {190, 332, 320, 112}},
    {kDvdMenuGroup, Kind::Group, "Sound Quality", {190, 332, 320, 112}},
    {kSoundGroup, Kind::Group, "Sound Quality", {520, 332, 295, 112}},
    {kVideoGroup, Kind::Group, "Video Quality", {190, 452, 320, 112}},
    {kOptionsGroup, Kind::Group, "", {520, 452, 295, 56}},
    {kOutputInfoGroup, Kind::Group, "Output Info", {520, 512, 295, 52}},
    {kDriveLabel, Kind::Label, "", {190, 58, 220, 22}},
    {kDriveList, Kind::DropDown, "", {415, 56, 400, 24}},
    {kConvertList, Kind::Placed, "", {190, 88, 625, 200}},
    {kBurnList, Kind::Placed, "", {190, 88, 625, 200}},
    {kAddFilesButton, Kind::Button, "Add Files", {190, 296, 120, 28}},
    {kAddFolderButton, Kind::Button, "Add Folder", {318, 296, 120, 28}},
    {kRemoveFilesButton, Kind::Button, "Remove Files", {446, 296, 120, 28}},
    {kFirstOptionRadio, Kind::Radio, "", {200, 352, 285, 22}},
    {kSecondOptionRadio, Kind::Radio, "", {200, 380, 285, 22}},
    {kThirdOptionRadio, Kind::Radio, "", {200, 408, 285, 22}},
    {kM4vRadio, Kind::Radio, "M4V - (IPod ITunes)", {320, 352, 185, 22}},
    {kMp4Radio, Kind::Radio, "MP4 - (PSP, PS4, Youtube)", {320, 380, 185, 22}},
    {kMovRadio, Kind::Radio, "MOV (Apple / Mac)", {320, 408, 185, 22}},
    {kAudioBitRateLabel, Kind::Label, "Bit Rate", {530, 352, 80, 22}},
    {kAudioBitRateEdit, Kind::NumberEdit, "", {635, 352, 85, 22}},
    {kAudioBitRateUnit, Kind::Label, "Kb/s", {725, 352, 40, 22}},
    {kChannelsLabel, Kind::Label, "Channels", {530, 380, 80, 22}},
    {kChannelsEdit, Kind::NumberEdit, "", {635, 380, 85, 22}},
    {kSampleRateLabel, Kind::Label, "Sample Freqency", {530, 408, 103, 22}},
    {kSampleRateList, Kind::DropDown, "", {635, 407, 85, 24}},
    {kSampleRateUnit, Kind::Label, "Hz", {725, 408, 30, 22}},
    {kDvdAudioBestRadio, Kind::Radio, "Best", {530, 352, 120, 22}},
    {kDvdAudioGoodRadio, Kind::Radio, "Good", {530, 380, 120, 22}},
    {kDvdAudioLowRadio, Kind::Radio, "Low", {530, 408, 120, 22}},
    {kVideoBitRateLabel, Kind::Label, "Bit Rate", {200, 472, 80, 22}},
    {kVideoBitRateEdit, Kind::NumberEdit, "", {285, 472, 90, 22}},
    {kVideoBitRateUnit, Kind::Label, "Kb/s", {380, 472, 40, 22}},
    {kFrameRateLabel, Kind::Label, "Frame Rate", {200, 500, 80, 22}},
    {kFrameRateList, Kind::DropDown, "", {285, 499, 90, 24}},
    {kFrameRateUnit, Kind::Label, "Kb/s", {380, 500, 40, 22}},
    {kVideoSizeLabel, Kind::Label, "Video Size", {200, 528, 80, 22}},
    {kWidthEdit, Kind::NumberEdit, "", {285, 528, 60, 22}},
    {kVideoSizeTimes, Kind::Label, "X", {350, 528, 12, 22}},
    {kHeightEdit, Kind::NumberEdit, "", {365, 528, 60, 22}},
    {kDvdVideoBestRadio, Kind::Radio, "Best", {200, 472, 120, 22}},
    {kDvdVideoGoodRadio, Kind::Radio, "Good", {200, 500, 120, 22}},
    {kDvdVideoLowRadio, Kind::Radio, "Low", {200, 528, 120, 22}},
    {kJoinFilesCheck, Kind::Check, "Join Files (One File Output)", {530, 464, 290, 20}},
    {kBurnOutputCheck, Kind::Check, "Burn Output to DVD Disk", {530, 484, 290, 20}},
    {kFileSizeText, Kind::Label, "", {530, 528, 290, 16}},
    {kDurationText, Kind::Label, "", {530, 545, 290, 16}},
    {kUsageLeftLabel, Kind::Label, "", {190, 572, 200, 18}},
    {kUsageRightLabel, Kind::Label, "", {615, 572, 200, 18}},
    {kStartButton, Kind::Button, "", {555, 644, 125, 30}},
    {kExitButton, Kind::Button, "Exit", {690, 644, 125, 30}},
};

QWidget* Make(const ControlPlacement& placement, QDialog& window)
{
    const QString text = QString::fromUtf8(placement.text);
    switch (placement.kind) {
    case Kind::ModeButton: {
        auto* button = new QPushButton(text, &window);
        const int side = placement.geometry.height() - 24;
        button->setIcon(ButtonImage(placement.id, QSize(side, side)));
        button->setIconSize(QSize(side, side));
        // The current mode's button stays down.
        button->setCheckable(placement.id != kHelpButton);
        button->setAutoDefault(false);
        return button;
    }
    case Kind::Button: {
        // Enter never presses a button the user did not choose.
        auto* button = new QPushButton(text, &window);
        button->setAutoDefault(false);
        return button;
    }
    case Kind::Label:
        return new QLabel(text, &window);
    case Kind::Heading: {
        auto* label = new QLabel(text, &window);
        label->setWordWrap(true);
        return label;
    }
    case Kind::Group:
        return new QGroupBox(text, &window);
    case Kind::Radio:
        return new QRadioButton(text, &window);
    case Kind::Check:
        return new QCheckBox(text, &window);
    case Kind::NumberEdit: {
        auto* edit = new QLineEdit(&window);
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
        return edit;
    }
    case Kind::DropDown:
        return new QComboBox(&window);
    case Kind::Picture: {
        auto* picture = new QLabel(&window);
        picture->setPixmap(BackgroundImage(placement.geometry.size()));
        return picture;
    }
    case Kind::Placed:
        return nullptr;
    }
    return nullptr;
}

QButtonGroup* Group(QDialog& window, const std::map<int, QWidget*>& all, std::initializer_list<int> ids)
{
    auto* group = new QButtonGroup(&window);
    for (const int id : ids) group->addButton(static_cast<QRadioButton*>(all.at(id)), id);
    return group;
}

}  // namespace

WindowControls BuildWindowControls(QDialog& window, QWidget& convertList, QWidget& burnList)
{
    WindowControls controls;
    for (const auto& placement : kControls) {
        QWidget* widget = Make(placement, window);
        if (placement.kind == Kind::Placed) widget = placement.id == kConvertList ? &convertList : &burnList;
        widget->setObjectName(ControlName(placement.id));
        widget->setGeometry(placement.geometry);
        controls.all[placement.id] = widget;
    }
    controls.progress = new QProgressBar(&window);
    controls.progress->setObjectName(ControlName(kProgressBar));
    controls.progress->setGeometry(190, 592, 625, 20);
    controls.progress->setTextVisible(false);
    controls.status = new StatusLine(&window);
    controls.status->setObjectName(ControlName(kStatusText));
    controls.status->setGeometry(190, 616, 360, 20);
    controls.all[kProgressBar] = controls.progress;
    controls.all[kStatusText] = controls.status;

    static_cast<QLabel*>(controls.all.at(kUsageRightLabel))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    controls.driveList = static_cast<QComboBox*>(controls.all.at(kDriveList));
    for (const int id : ControlMapIds()) controls.controlMap[id] = controls.all.at(id);

    controls.formatGroup = Group(
        window, controls.all, {kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio, kM4vRadio, kMp4Radio, kMovRadio});
    controls.dvdAudioGroup = Group(window, controls.all, {kDvdAudioBestRadio, kDvdAudioGoodRadio, kDvdAudioLowRadio});
    controls.dvdVideoGroup = Group(window, controls.all, {kDvdVideoBestRadio, kDvdVideoGoodRadio, kDvdVideoLowRadio});
    return controls;
}

}  // namespace velmora::front
