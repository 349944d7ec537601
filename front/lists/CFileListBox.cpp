#include "CFileListBox.h"

#include "DroppedFiles.h"
#include "Entries.h"
#include "ListHost.h"
#include "core/UiStrings.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace velmora::front {

// A row owns its entry and remembers what it added to the disc-used amount, so that removing
// it takes back exactly that. A folder's entry comes once its tree has been read.
class EntryRow : public QListWidgetItem {
public:
    EntryRow(const QString& path, std::shared_ptr<CBaseObject> entry, std::int64_t amount)
        : QListWidgetItem(path), entry_(std::move(entry)), amount_(amount)
    {
    }
    std::string Path() const { return text().toStdString(); }
    CBaseObject* Entry() const { return entry_.get(); }
    void SetEntry(std::shared_ptr<CBaseObject> entry) { entry_ = std::move(entry); }
    std::int64_t Amount() const { return amount_; }
    void SetAmount(std::int64_t amount) { amount_ = amount; }
    int id = 0;   // tells an answer of a worker which row it is for

private:
    std::shared_ptr<CBaseObject> entry_;
    std::int64_t amount_;
};

CFileListBox::CFileListBox(ListHost& host, QWidget* parent)
    : QListWidget(parent), host_(host), prober_(new MediaProber(this))
{
    setSortingEnabled(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(prober_, &MediaProber::Settled, this, &CFileListBox::Settled);
}

bool CFileListBox::IsListed(const QString& path) const
{
    const auto wanted = CanonicalPath(path.toStdString());
    for (int row = 0; row < count(); ++row)
        if (const auto* listed = dynamic_cast<EntryRow*>(item(row)); listed && CanonicalPath(listed->Path()) == wanted)
            return true;
    return false;
}

void CFileListBox::AddPath(const QString& path)
{
    if (IsListed(path)) {
        host_.ShowMessage(host_.Strings()[kRowDuplicateEntry], host_.Strings()[kRowTitle], MessageKind::Information);
        return;
    }
    const bool audioBurner = host_.Mode() == kModeAudioBurner;
    const std::string name = path.toStdString();
    std::error_code error;
    const bool folder = std::filesystem::is_directory(name, error);
    std::shared_ptr<CFileObject> file;
    if (folder) {
        if (audioBurner) return;
    } else {
        if (!std::filesystem::exists(name, error)) return;
        file = std::make_shared<CFileObject>(name);
        if (audioBurner && (!file->IsAudioFile() || !host_.RequireExport(Export::GetMediaFacts))) return;
    }
    const std::int64_t amount = file && !audioBurner ? file->GetDiscSize() : 0;
    auto* row = new EntryRow(path, file, amount);
    row->id = ++lastRowId_;
    addItem(row);
    host_.AddDiscUsed(amount);
    host_.UpdateDiscUsage();
    // A folder's tree is read, and music measured by its play length, while the window goes on.
    if (folder)
        prober_->ReadFolder(name, [this, id = row->id](const FolderRead& read) { FolderReadIn(id, read); });
    else if (audioBurner)
        prober_->Probe(name, [this, id = row->id](const ProbeResult& result) { Measured(id, result); });
}

void CFileListBox::FolderReadIn(int id, const FolderRead& read)
{
    auto* row = RowOf(id);
    if (!row) return;   // removed meanwhile
    row->SetEntry(read.folder);
    row->SetAmount(read.discSize);
    host_.AddDiscUsed(read.discSize);
    host_.UpdateDiscUsage();
}

void CFileListBox::Measured(int id, const ProbeResult& result)
{
    auto* row = RowOf(id);
    if (!row) return;   // removed meanwhile
    if (!result.media) {
        const QString name = QString::fromStdString(row->Entry()->GetName());
        delete takeItem(this->row(row));
        host_.ShowMessage(host_.Strings()[kRowCannotAdd].arg(name, QString::fromStdString(result.reason)),
                          host_.Strings()[kRowTitle], MessageKind::Information);
        return;
    }
    auto& file = static_cast<CFileObject&>(*row->Entry());
    file.SetPlayLength(result.playLength.c_str());
    row->SetAmount(file.GetDuration());
    host_.AddDiscUsed(file.GetDuration());
    host_.UpdateDiscUsage();
}

bool CFileListBox::Measuring() const
{
    return prober_->Busy();
}

void CFileListBox::DeleteSelected()
{
    if (selectedItems().isEmpty()) return;
    const auto& strings = host_.Strings();
    if (!host_.ShowMessage(strings[kRowDeleteQuestion], strings[kRowDeleteCaption], MessageKind::QuestionDefaultNo))
        return;
    std::vector<int> rows;
    for (const auto* item : selectedItems()) rows.push_back(row(item));
    std::sort(rows.rbegin(), rows.rend());
    for (const int index : rows) {
        auto* item = static_cast<EntryRow*>(takeItem(index));
        host_.AddDiscUsed(-item->Amount());
        host_.UpdateDiscUsage();
        delete item;
    }
}

void CFileListBox::Empty()
{
    clear();
}

CBaseObject* CFileListBox::EntryAt(int index) const
{
    auto* entryRow = dynamic_cast<EntryRow*>(item(index));
    return entryRow ? entryRow->Entry() : nullptr;
}

EntryRow* CFileListBox::RowOf(int id) const
{
    for (int index = 0; index < count(); ++index)
        if (auto* entryRow = static_cast<EntryRow*>(item(index)); entryRow->id == id) return entryRow;
    return nullptr;
}

void CFileListBox::SetAcceptsDroppedFiles(bool accept)
{
    acceptsDrops_ = accept;
    setAcceptDrops(accept);
    viewport()->setAcceptDrops(accept);
}

void CFileListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete) {
        DeleteSelected();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void CFileListBox::dragEnterEvent(QDragEnterEvent* event)
{
    AnswerDrag(event, acceptsDrops_);
}

void CFileListBox::dragMoveEvent(QDragMoveEvent* event)
{
    AnswerDrag(event, acceptsDrops_);
}

void CFileListBox::dropEvent(QDropEvent* event)
{
    for (const QString& file : TakeDroppedFiles(event, acceptsDrops_)) AddPath(file);
    viewport()->update();
}

}  // namespace velmora::front
