#pragma once

#include "ConvertRow.h"
#include "MediaProber.h"

#include <QStringList>
#include <QTreeWidget>

#include <cstdint>

namespace velmora::front {

class CFileObject;
class ListHost;

// The report list of the three converter modes: one video file per row, with a running total
// of their play lengths.
class CListCtrlEx : public QTreeWidget {
    Q_OBJECT
public:
    CListCtrlEx(ListHost& host, QWidget* parent);

    // Takes a video file in the Video Converter and DVD Creator modes; other paths are ignored.
    void AddListFile(const QString& path);
    // A row of the Audio Converter (a track of its disc), unchecked, showing the cells.
    void AddRow(ConvertRow record, const QStringList& cells);
    // Asks first, then removes the selected rows.
    void DeleteSelected();

    void SetColumns(int mode);
    // All columns and rows go.
    void ResetColumns();
    virtual int ClearItems();

    void SetAcceptsDroppedFiles(bool accept);
    bool AcceptsDroppedFiles() const { return acceptsDrops_; }

    std::int64_t TotalDuration() const { return totalDuration_; }
    // Whether files just added are still being measured.
    bool Measuring() const;
    CFileObject* EntryAt(int row) const;
    // The row's record with its check box.
    ConvertRow RowAt(int row) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool IsDuplicate(const CFileObject& entry) const;
    // The library's answer for a row's file: its play length, or out of the list with the reason.
    void Measured(int rowId, const ProbeResult& result);
    void RemoveRow(int row);

    ListHost& host_;
    MediaProber* prober_;
    int lastRowId_ = 0;
    std::int64_t totalDuration_ = 0;
    bool acceptsDrops_ = false;
};

}  // namespace velmora::front
