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
namespace {

// A row owns its entry and remembers what it added to the disc-used amount, so that removing
// it takes back exactly that.
class EntryRow : public QListWidgetItem {
public:
    EntryRow(const QString& path, std::unique_ptr<CBaseObject> entry, std::int64_t amount)
        : QListWidgetItem(path), entry_(std::move(entry)), amount_(amount)
    {
    }
    CBaseObject& Entry() const { return *entry_; }
    std::int64_t Amount() const { return amount_; }
    void SetAmount(std::int64_t amount) { amount_ = amount; }
    int id = 0;   // tells an answer of the library which row it is for

private:
    std::unique_ptr<CBaseObject> entry_;
    std::int64_t amount_;
};

}  // namespace

CFileListBox::CFileListBox(ListHost& host, QWidget* parent)
    : QListWidget(parent), host_(host), prober_(new MediaProber(this))
{
    setSortingEnabled(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

bool CFileListBox::IsListed(const QString& path) const
{
    const auto wanted = CanonicalPath(path.toStdString());
    for (int row = 0; row < count(); ++row)
        if (const auto* listed = EntryAt(row); listed && CanonicalPath(listed->Path()) == wanted) return true;
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
    std::unique_ptr<CBaseObject> entry;
    std::int64_t amount = 0;
    if (std::filesystem::is_directory(name, error)) {
        if (audioBurner) return;
        entry = std::make_unique<CDirObject>(name);
        amount = entry->GetDiscSize();
    } else {
        if (!std::filesystem::exists(name, error)) return;
        auto file = std::make_unique<CFileObject>(name);
        if (audioBurner && (!file->IsAudioFile() || !host_.RequireExport(Export::GetMediaFacts))) return;
        if (!audioBurner) amount = file->GetDiscSize();
        entry = std::move(file);
    }
    auto* row = new EntryRow(path, std::move(entry), amount);
    row->id = ++lastRowId_;
    addItem(row);
    host_.AddDiscUsed(amount);
    host_.UpdateDiscUsage();
    // Music counts by its play length, which the library measures while the window goes on.
    if (audioBurner)
        prober_->Probe(name, [this, id = row->id](const ProbeResult& result) { Measured(id, result); });
}

void CFileListBox::Measured(int id, const ProbeResult& result)
{
    int index = 0;
    while (index < count() && static_cast<EntryRow*>(item(index))->id != id) ++index;
    if (index == count()) return;   // removed meanwhile
    auto* row = static_cast<EntryRow*>(item(index));
    if (!result.media) {
        const QString name = QString::fromStdString(row->Entry().GetName());
        delete takeItem(index);
        host_.ShowMessage(host_.Strings()[kRowCannotAdd].arg(name, QString::fromStdString(result.reason)),
                          host_.Strings()[kRowTitle], MessageKind::Information);
        return;
    }
    auto& file = static_cast<CFileObject&>(row->Entry());
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
    return entryRow ? &entryRow->Entry() : nullptr;
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
