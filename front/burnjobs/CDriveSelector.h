#pragma once

#include "RecorderList.h"

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QPushButton;

namespace velmora::front {

class Desktop;

// Asks for the recorder that is to burn a copied disc: the recorders in a drop-down, "Burn it!"
// and "Cancel".
class CDriveSelector : public QDialog {
    Q_OBJECT
public:
    CDriveSelector(bool english, Desktop& desktop, QWidget* parent = nullptr);

    // Selects the first recorder that writes audio CDs, when there is one.
    void OfferAudioRecorderFirst();
    // The chosen recorder's unique id, once the dialog was accepted.
    const std::string& ChosenId() const { return chosenId_; }

    QComboBox& Recorders() const { return *recorders_; }
    QPushButton& BurnButton() const { return *burnButton_; }
    QPushButton& CancelButton() const { return *cancelButton_; }
    QLabel& Prompt() const { return *prompt_; }

private:
    void OnBurnIt();

    RecorderRecords records_;
    QComboBox* recorders_;
    QLabel* label_;
    QLabel* prompt_;
    QPushButton* burnButton_;
    QPushButton* cancelButton_;
    std::string chosenId_;
};

}  // namespace velmora::front
