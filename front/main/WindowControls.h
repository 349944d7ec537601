#pragma once

#include <QString>

#include <map>

class QButtonGroup;
class QComboBox;
class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace velmora::front {

// The controls of the main window, each named by its ID (objectName), placed as in the dialog
// template. The two lists are made by the window and only placed here.
struct WindowControls {
    std::map<int, QWidget*> all;        // every control by ID, the mode buttons included
    std::map<int, QWidget*> controlMap; // the work-area controls that modes show and hide
    QProgressBar* progress = nullptr;
    QLabel* status = nullptr;
    QComboBox* driveList = nullptr;
    QButtonGroup* formatGroup = nullptr;      // the formats or options
    QButtonGroup* dvdAudioGroup = nullptr;    // DVD Creator audio quality
    QButtonGroup* dvdVideoGroup = nullptr;    // DVD Creator video quality
};

WindowControls BuildWindowControls(QDialog& window, QWidget& convertList, QWidget& burnList);

}  // namespace velmora::front
