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
    QProgressBar* progress = nullptr;   // 1020
    QLabel* status = nullptr;           // 1026
    QComboBox* driveList = nullptr;     // 1029
    QButtonGroup* formatGroup = nullptr;      // 1034 to 1061
    QButtonGroup* dvdAudioGroup = nullptr;    // 1045 to 1047
    QButtonGroup* dvdVideoGroup = nullptr;    // 1048, 1049, 1073
};

WindowControls BuildWindowControls(QDialog& window, QWidget& convertList, QWidget& burnList);

// "1030" for control 1030.
QString ControlName(int id);

}  // namespace velmora::front
