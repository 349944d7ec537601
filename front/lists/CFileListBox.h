#pragma once

#include "MediaProber.h"

#include <QListWidget>

#include <cstdint>

namespace velmora::front {

class CBaseObject;
class EntryRow;
class ListHost;

// The sorted list of the three burner modes: files and folders, each row counting towards the
// window's disc-used amount.
class CFileListBox : public QListWidget {
    Q_OBJECT
public:
    CFileListBox(ListHost& host, QWidget* parent);

    void AddPath(const QString& path);
    // Asks first, then removes the selected rows from the last to the first.
    void DeleteSelected();
    // Removes every row without touching the disc-used amount (the modes reset it themselves).
    void Empty();

    void SetAcceptsDroppedFiles(bool accept);
    bool AcceptsDroppedFiles() const { return acceptsDrops_; }

    // None for a folder whose tree is still being read.
    CBaseObject* EntryAt(int row) const;
    // Whether files just added are still being measured.
    bool Measuring() const;

signals:
    // Every file and folder added has been measured.
    void Settled();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool IsListed(const QString& path) const;
    EntryRow* RowOf(int rowId) const;
    void Measured(int rowId, const ProbeResult& result);
    void FolderReadIn(int rowId, const FolderRead& read);

    ListHost& host_;
    MediaProber* prober_;
    int lastRowId_ = 0;
    bool acceptsDrops_ = false;
};

}  // namespace velmora::front
