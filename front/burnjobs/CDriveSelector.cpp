#include "CDriveSelector.h"

#include "main/Artwork.h"
#include "BurnRows.h"
#include "support/Desktop.h"
#include "core/ControlIds.h"
#include "core/UiStrings.h"

#include "recorders/RecorderProbe.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace velmora::front {

CDriveSelector::CDriveSelector(bool english, Desktop& desktop, QWidget* parent)
    : QDialog(parent),
      recorders_(new QComboBox(this)),
      label_(new QLabel(this)),
      prompt_(new QLabel(this)),
      burnButton_(new QPushButton(this)),
      cancelButton_(new QPushButton(this))
{
    const UiStrings strings(english);
    setObjectName(ControlName(dialog::kRecorderSelector));
    recorders_->setObjectName(ControlName(control::kSelectorRecorderList));
    label_->setObjectName(ControlName(control::kSelectorLabel));
    prompt_->setObjectName(ControlName(control::kSelectorPrompt));
    burnButton_->setObjectName(ControlName(control::kSelectorBurnButton));
    cancelButton_->setObjectName(ControlName(control::kSelectorCancelButton));
    setWindowIcon(ButtonImage(control::kDvdDataBurnerButton, QSize(64, 64)));
    setWindowTitle(strings[kRowDriveSelectorTitle] + " - " + UiStrings(true)[kRowTitle]);
    // The dialog grows by what the label needs beyond its 80 pixels, so that no word of it is cut.
    label_->setText(strings[kRowSelectDrive]);
    const int wider = std::max(0, label_->fontMetrics().horizontalAdvance(label_->text()) + 4 - 80);
    setFixedSize(284 + wider, 140);

    prompt_->setGeometry(10, 8, 264 + wider, 56);
    prompt_->setWordWrap(true);
    prompt_->setText(strings[kRowInsertBlankMedia]);
    label_->setGeometry(10, 70, 80 + wider, 24);
    recorders_->setGeometry(94 + wider, 70, 180, 24);
    burnButton_->setGeometry(64 + wider, 104, 100, 28);
    burnButton_->setText(strings[kRowBurnIt]);
    burnButton_->setDefault(true);
    cancelButton_->setGeometry(174 + wider, 104, 100, 28);
    cancelButton_->setText(strings[kRowCancel]);

    connect(burnButton_, &QPushButton::clicked, this, &CDriveSelector::OnBurnIt);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    FillRecorderList(*recorders_, records_, [this, &desktop, &strings](const std::string& text) {
        desktop.ShowMessage(this, QString::fromStdString(text), strings[kRowTitle], MessageKind::Error);
    });
}

void CDriveSelector::OfferAudioRecorderFirst()
{
    if (const int audio = records_.FirstAudioRecorder(); audio >= 0) recorders_->setCurrentIndex(audio);
}

void CDriveSelector::OnBurnIt()
{
    const discburn::CRecorderDevice* chosen = records_.At(recorders_->currentIndex());
    if (!chosen) return;
    chosenId_ = chosen->uniqueId;
    accept();
}

}  // namespace velmora::front
