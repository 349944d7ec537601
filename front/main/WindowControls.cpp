#include "WindowControls.h"

#include "Artwork.h"
#include "ModeTables.h"

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
    {1019, Kind::ModeButton, "Audio Converter", {10, 10, 160, 78}},
    {1021, Kind::ModeButton, "Video Converter", {10, 96, 160, 78}},
    {1023, Kind::ModeButton, "DVD Creator", {10, 182, 160, 78}},
    {1022, Kind::ModeButton, "Audio Burner", {10, 268, 160, 78}},
    {1024, Kind::ModeButton, "CD Data Burner", {10, 354, 160, 78}},
    {1025, Kind::ModeButton, "DVD Data Burner", {10, 440, 160, 78}},
    {1050, Kind::ModeButton, "Help", {10, 560, 160, 50}},
    {1064, Kind::Picture, "", {190, 10, 625, 626}},
    {1031, Kind::Heading, "", {190, 10, 625, 60}},
    {1032, Kind::Heading, "", {190, 10, 625, 42}},
    {1033, Kind::Group, "Output Formats", {190, 332, 320, 112}},
    {1097, Kind::Group, "Sound Quality", {190, 332, 320, 112}},
    {1062, Kind::Group, "Sound Quality", {520, 332, 295, 112}},
    {1036, Kind::Group, "Video Quality", {190, 452, 320, 112}},
    {1079, Kind::Group, "", {520, 452, 295, 56}},
    {1078, Kind::Group, "Output Info", {520, 512, 295, 52}},
    {1028, Kind::Label, "", {190, 58, 220, 22}},
    {1029, Kind::DropDown, "", {415, 56, 400, 24}},
    {1030, Kind::Placed, "", {190, 88, 625, 200}},
    {1057, Kind::Placed, "", {190, 88, 625, 200}},
    {1053, Kind::Button, "Add Files", {190, 296, 120, 28}},
    {1056, Kind::Button, "Add Folder", {318, 296, 120, 28}},
    {1058, Kind::Button, "Remove Files", {446, 296, 120, 28}},
    {1034, Kind::Radio, "", {200, 352, 285, 22}},
    {1035, Kind::Radio, "", {200, 380, 285, 22}},
    {1040, Kind::Radio, "", {200, 408, 285, 22}},
    {1059, Kind::Radio, "M4V - (IPod ITunes)", {320, 352, 185, 22}},
    {1060, Kind::Radio, "MP4 - (PSP, PS4, Youtube)", {320, 380, 185, 22}},
    {1061, Kind::Radio, "MOV (Apple / Mac)", {320, 408, 185, 22}},
    {1065, Kind::Label, "Bit Rate", {530, 352, 80, 22}},
    {1063, Kind::NumberEdit, "", {635, 352, 85, 22}},
    {1066, Kind::Label, "Kb/s", {725, 352, 40, 22}},
    {1068, Kind::Label, "Channels", {530, 380, 80, 22}},
    {1067, Kind::NumberEdit, "", {635, 380, 85, 22}},
    {1071, Kind::Label, "Sample Freqency", {530, 408, 103, 22}},
    {1070, Kind::DropDown, "", {635, 407, 85, 24}},
    {1072, Kind::Label, "Hz", {725, 408, 30, 22}},
    {1045, Kind::Radio, "Best", {530, 352, 120, 22}},
    {1046, Kind::Radio, "Good", {530, 380, 120, 22}},
    {1047, Kind::Radio, "Low", {530, 408, 120, 22}},
    {1037, Kind::Label, "Bit Rate", {200, 472, 80, 22}},
    {1038, Kind::NumberEdit, "", {285, 472, 90, 22}},
    {1039, Kind::Label, "Kb/s", {380, 472, 40, 22}},
    {1083, Kind::Label, "Frame Rate", {200, 500, 80, 22}},
    {1082, Kind::DropDown, "", {285, 499, 90, 24}},
    {1084, Kind::Label, "Kb/s", {380, 500, 40, 22}},
    {1041, Kind::Label, "Video Size", {200, 528, 80, 22}},
    {1042, Kind::NumberEdit, "", {285, 528, 60, 22}},
    {1043, Kind::Label, "X", {350, 528, 12, 22}},
    {1044, Kind::NumberEdit, "", {365, 528, 60, 22}},
    {1048, Kind::Radio, "Best", {200, 472, 120, 22}},
    {1049, Kind::Radio, "Good", {200, 500, 120, 22}},
    {1073, Kind::Radio, "Low", {200, 528, 120, 22}},
    {1075, Kind::Check, "Join Files (One File Output)", {530, 464, 290, 20}},
    {1080, Kind::Check, "Burn Output to DVD Disk", {530, 484, 290, 20}},
    {1069, Kind::Label, "", {530, 528, 290, 16}},
    {1074, Kind::Label, "", {530, 545, 290, 16}},
    {1054, Kind::Label, "", {190, 572, 200, 18}},
    {1055, Kind::Label, "", {615, 572, 200, 18}},
    {1051, Kind::Button, "", {555, 644, 125, 30}},
    {1052, Kind::Button, "Exit", {690, 644, 125, 30}},
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
        return button;
    }
    case Kind::Button:
        return new QPushButton(text, &window);
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

QString ControlName(int id)
{
    return QString::number(id);
}

WindowControls BuildWindowControls(QDialog& window, QWidget& convertList, QWidget& burnList)
{
    WindowControls controls;
    for (const auto& placement : kControls) {
        QWidget* widget = Make(placement, window);
        if (placement.kind == Kind::Placed) widget = placement.id == 1030 ? &convertList : &burnList;
        widget->setObjectName(ControlName(placement.id));
        widget->setGeometry(placement.geometry);
        controls.all[placement.id] = widget;
    }
    controls.progress = new QProgressBar(&window);
    controls.progress->setObjectName(ControlName(1020));
    controls.progress->setGeometry(190, 592, 625, 20);
    controls.progress->setTextVisible(false);
    controls.status = new QLabel(&window);
    controls.status->setObjectName(ControlName(1026));
    controls.status->setGeometry(190, 616, 360, 20);
    controls.all[1020] = controls.progress;
    controls.all[1026] = controls.status;

    static_cast<QLabel*>(controls.all.at(1055))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    controls.driveList = static_cast<QComboBox*>(controls.all.at(1029));
    for (const int id : ControlMapIds()) controls.controlMap[id] = controls.all.at(id);

    controls.formatGroup = Group(window, controls.all, {1034, 1035, 1040, 1059, 1060, 1061});
    controls.dvdAudioGroup = Group(window, controls.all, {1045, 1046, 1047});
    controls.dvdVideoGroup = Group(window, controls.all, {1048, 1049, 1073});
    return controls;
}

}  // namespace velmora::front
