#pragma once

#include <QDialog>

#include <vector>

class QListWidget;
class QListWidgetItem;

namespace CDDB {
struct CQueryResult;
}

namespace velmora::front {

// "Select Your CD": the CDDB matches of the disc in one drive. One match is taken without
// showing the dialog, none cancels it, several are listed for the user to choose from.
class CCDDBDialog : public QDialog {
    Q_OBJECT
public:
    explicit CCDDBDialog(char drive, QWidget* parent = nullptr);
    ~CCDDBDialog() override;

    // QDialog::Accepted with a match chosen, or QDialog::Rejected without one.
    int DoModal();
    // Valid while the dialog lives.
    const CDDB::CQueryResult* m_pSelected = nullptr;

private slots:
    void OnOk();
    void OnCancel();
    void OnDoubleClick(QListWidgetItem* item);

private:
    const CDDB::CQueryResult* MatchOf(const QListWidgetItem* item) const;

    char m_chDrive;
    QListWidget* list_;
    std::vector<CDDB::CQueryResult*> matches_;
};

}  // namespace velmora::front
