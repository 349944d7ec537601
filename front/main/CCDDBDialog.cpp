#include "CCDDBDialog.h"

#include "log/Log.h"
#include "Lumetra.h"
#include "core/ControlIds.h"
#include "core/LumetraBinding.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::front {

CCDDBDialog::CCDDBDialog(char drive, QWidget* parent) : QDialog(parent), m_chDrive(drive), list_(new QListWidget(this))
{
    setObjectName(ControlName(dialog::kCddbMatches));
    setWindowTitle("Select Your CD");
    setWindowIcon(parent ? parent->windowIcon() : QIcon());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Multiple Entries found for your CD.\nPlease select the appropiriate", this));
    list_->setObjectName(ControlName(control::kMatchList));
    list_->setSortingEnabled(true);
    layout->addWidget(list_);
    auto* ok = new QPushButton("Ok", this);
    ok->setObjectName(ControlName(control::kMatchOkButton));
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName(ControlName(control::kMatchCancelButton));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &CCDDBDialog::OnOk);
    connect(cancel, &QPushButton::clicked, this, &CCDDBDialog::OnCancel);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CCDDBDialog::OnDoubleClick);
}

// The matches were made by the library, so the library deletes them (it is linked, like the message handler).
CCDDBDialog::~CCDDBDialog()
{
    FreeCDDBMatches(&matches_);
}

int CCDDBDialog::DoModal()
{
    const auto readCddb = Lumetra().ReadCDDB();
    if (!readCddb) {
        LogMessage(1, "CCDDBDialog. The library cannot look discs up");
        return Rejected;
    }
    LogMessage(2, "CCDDBDialog. Calling pfn_ReadCDDB Drive(%c).", m_chDrive);
    readCddb(m_chDrive, &matches_);
    LogMessage(2, "CCDDBDialog. CQueryResult Collection Count (%d).", static_cast<int>(matches_.size()));
    if (matches_.empty()) {
        m_pSelected = nullptr;
        return Rejected;
    }
    if (matches_.size() == 1) {
        m_pSelected = matches_.front();
        LogMessage(2, "CCDDBDialog. CQueryResult Collection Count = 1. Query Result is  (%p).",
                   static_cast<const void*>(m_pSelected));
        return Accepted;
    }
    for (std::size_t index = 0; index < matches_.size(); ++index) {
        const CDDB::CQueryResult& match = *matches_[index];
        auto* line = new QListWidgetItem(QString::fromStdString(match.strArtist + ", " + match.strTitle));
        line->setData(Qt::UserRole, static_cast<qulonglong>(index));
        list_->addItem(line);
    }
    return exec();
}

const CDDB::CQueryResult* CCDDBDialog::MatchOf(const QListWidgetItem* item) const
{
    return item ? matches_.at(item->data(Qt::UserRole).toULongLong()) : nullptr;
}

void CCDDBDialog::OnOk()
{
    const QListWidgetItem* line = list_->currentItem();
    if (!line || !line->isSelected()) return;
    m_pSelected = MatchOf(line);
    LogMessage(2, "CCDDBDialog. OK Clicked. Query Result is  (%p).", static_cast<const void*>(m_pSelected));
    accept();
}

void CCDDBDialog::OnCancel()
{
    m_pSelected = nullptr;
    reject();
}

void CCDDBDialog::OnDoubleClick(QListWidgetItem* item)
{
    m_pSelected = MatchOf(item);
    LogMessage(2, "CCDDBDialog. Mouse Clicked. Query Result is  (%p).", static_cast<const void*>(m_pSelected));
    accept();
}

}  // namespace velmora::front
