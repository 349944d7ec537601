#include "CListCtrlEx.h"

#include "DroppedFiles.h"
#include "Entries.h"
#include "ListHost.h"
#include "core/UiStrings.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>

#include <cstdio>
#include <memory>

namespace velmora::front {
namespace {

// A row keeps what it stands for: its record and, for a file, the file's entry and whether the
// library has measured it yet.
class ListRow : public QTreeWidgetItem {
public:
    ListRow(ConvertRow record, std::unique_ptr<CFileObject> entry)
        : record_(std::move(record)), entry_(std::move(entry))
    {
    }
    ConvertRow& Record() { return record_; }
    CFileObject* Entry() const { return entry_.get(); }
    int id = 0;   // tells an answer of the library which row it is for

private:
    ConvertRow record_;
    std::unique_ptr<CFileObject> entry_;
};

constexpr const char* kMeasuring = "...";

QString SizeText(std::int64_t discBytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%0.2g MB", static_cast<double>(discBytes) / 1048576.0);
    return QString::fromUtf8(text);
}

}  // namespace

CListCtrlEx::CListCtrlEx(ListHost& host, QWidget* parent)
    : QTreeWidget(parent), host_(host), prober_(new MediaProber(this))
{
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    // A DVD chapter's title is the text the user typed into its row.
    connect(this, &QTreeWidget::itemChanged, this, [](QTreeWidgetItem* item, int column) {
        auto* row = dynamic_cast<ListRow*>(item);
        if (row && column == 0 && item->flags().testFlag(Qt::ItemIsEditable))
            row->Record().title = item->text(0).toStdString();
    });
}

void CListCtrlEx::AddListFile(const QString& path)
{
    const int mode = host_.Mode();
    if (mode != kModeVideoConverter && mode != kModeDvdCreator) return;

    auto entry = std::make_unique<CFileObject>(path.toStdString());
    const bool rightKind = mode == kModeVideoConverter ? entry->IsVideoFile() : entry->IsAviFile();
    if (!rightKind) return;
    if (!host_.RequireExport(Export::GetMediaFacts)) return;
    if (IsDuplicate(*entry)) {
        host_.ShowMessage(host_.Strings()[kRowDuplicateEntry], host_.Strings()[kRowTitle], MessageKind::Information);
        return;
    }

    // The row is there at once; its play length follows when the library has measured the file.
    const QString title = QString::fromStdString(entry->GetTitle());
    auto* row = new ListRow({.sourcePath = path.toStdString(), .title = title.toStdString()}, std::move(entry));
    if (mode == kModeDvdCreator) {
        row->setText(0, title);
        row->setText(1, kMeasuring);
        row->setFlags(row->flags() | Qt::ItemIsEditable);
    } else {
        row->setText(0, kMeasuring);
        row->setText(1, SizeText(row->Entry()->GetDiscSize()));
    }
    row->setText(2, path);
    row->id = ++lastRowId_;
    addTopLevelItem(row);
    host_.SetJoinEnabled(topLevelItemCount() > 1);
    prober_->Probe(path.toStdString(), [this, id = row->id](const ProbeResult& result) { Measured(id, result); });
}

void CListCtrlEx::Measured(int id, const ProbeResult& result)
{
    // The row may have gone while the file was measured.
    int index = 0;
    while (index < topLevelItemCount() && static_cast<ListRow*>(topLevelItem(index))->id != id) ++index;
    if (index == topLevelItemCount()) return;
    auto* row = static_cast<ListRow*>(topLevelItem(index));
    if (!result.media) {
        const QString name = QString::fromStdString(row->Entry()->GetName());
        delete takeTopLevelItem(index);
        host_.SetJoinEnabled(topLevelItemCount() > 1);
        host_.ShowMessage(host_.Strings()[kRowCannotAdd].arg(name, QString::fromStdString(result.reason)),
                          host_.Strings()[kRowTitle], MessageKind::Information);
        return;
    }
    row->Entry()->SetPlayLength(result.playLength.c_str());
    row->Record().seconds = row->Entry()->GetDuration();
    totalDuration_ += row->Entry()->GetDuration();
    row->setText(host_.Mode() == kModeDvdCreator ? 1 : 0, QString::fromStdString(row->Entry()->FormatDuration()));
    if (index == 0) host_.ApplyVideoDefaults(result.facts);
    host_.UpdateOutputInfo(totalDuration_);
}

bool CListCtrlEx::Measuring() const
{
    return prober_->Busy();
}

bool CListCtrlEx::IsDuplicate(const CFileObject& entry) const
{
    const auto wanted = CanonicalPath(entry.Path());
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (const auto* listed = EntryAt(row); listed && CanonicalPath(listed->Path()) == wanted) return true;
    return false;
}

void CListCtrlEx::AddRow(ConvertRow record, const QStringList& cells)
{
    auto* row = new ListRow(std::move(record), nullptr);
    for (int column = 0; column < cells.size(); ++column) row->setText(column, cells[column]);
    row->setCheckState(0, Qt::Unchecked);
    addTopLevelItem(row);
}

CFileObject* CListCtrlEx::EntryAt(int row) const
{
    auto* item = dynamic_cast<ListRow*>(topLevelItem(row));
    return item ? item->Entry() : nullptr;
}

ConvertRow CListCtrlEx::RowAt(int row) const
{
    auto* item = dynamic_cast<ListRow*>(topLevelItem(row));
    if (!item) return {};
    ConvertRow record = item->Record();
    record.checked = item->checkState(0) == Qt::Checked;
    return record;
}

void CListCtrlEx::RemoveRow(int row)
{
    if (auto* entry = EntryAt(row)) totalDuration_ -= entry->GetDuration();   // 0 until measured
    delete takeTopLevelItem(row);
    host_.SetJoinEnabled(topLevelItemCount() > 1);
}

void CListCtrlEx::DeleteSelected()
{
    if (selectedItems().isEmpty()) return;
    const auto& strings = host_.Strings();
    if (!host_.ShowMessage(strings[kRowDeleteQuestion], strings[kRowDeleteCaption], MessageKind::QuestionDefaultNo))
        return;
    for (int row = 0; row < topLevelItemCount();) {
        if (!topLevelItem(row)->isSelected()) {
            ++row;
            continue;
        }
        RemoveRow(row);
        host_.UpdateOutputInfo(totalDuration_);
    }
}

void CListCtrlEx::SetColumns(int mode)
{
    const auto& strings = host_.Strings();
    struct Column {
        QString title;
        int width;
    };
    std::vector<Column> columns;
    switch (mode) {
    case kModeAudioConverter:
        columns = {{"N", 50},
                   {strings[kRowDurationColumn], 120},
                   {strings[kRowSizeColumn], 140},
                   {strings[kRowTitleColumn], 140},
                   {strings[kRowArtistColumn], 100},
                   {"Ext", 67},
                   {"", 0}};
        break;
    case kModeVideoConverter:
        columns = {{strings[kRowDurationColumn], 125}, {strings[kRowSizeColumn], 120}, {strings[kRowFileNameColumn], 355}};
        totalDuration_ = 0;
        break;
    case kModeDvdCreator:
        columns = {{strings[kRowTitleColumn], 125}, {strings[kRowDurationColumn], 120}, {strings[kRowFileNameColumn], 355}};
        break;
    default:
        return;
    }
    QStringList titles;
    for (const auto& column : columns) titles << column.title;
    setColumnCount(static_cast<int>(columns.size()));
    setHeaderLabels(titles);
    for (int index = 0; index < static_cast<int>(columns.size()); ++index) {
        setColumnWidth(index, columns[static_cast<std::size_t>(index)].width);
        setColumnHidden(index, columns[static_cast<std::size_t>(index)].width == 0);
    }
    if (mode == kModeAudioConverter) headerItem()->setTextAlignment(0, Qt::AlignCenter);
}

void CListCtrlEx::ResetColumns()
{
    ClearItems();
    setHeaderLabels({});
    setColumnCount(0);
}

int CListCtrlEx::ClearItems()
{
    while (topLevelItemCount() > 0) {
        RemoveRow(0);
        if (host_.Mode() == kModeVideoConverter) host_.UpdateOutputInfo(totalDuration_);
    }
    return 1;
}

void CListCtrlEx::SetAcceptsDroppedFiles(bool accept)
{
    acceptsDrops_ = accept;
    setAcceptDrops(accept);
    viewport()->setAcceptDrops(accept);
}

void CListCtrlEx::keyPressEvent(QKeyEvent* event)
{
    const int mode = host_.Mode();
    if (event->key() == Qt::Key_Delete && (mode == kModeVideoConverter || mode == kModeDvdCreator)) {
        DeleteSelected();
        return;
    }
    // Ctrl+E renames a DVD chapter.
    if (event->key() == Qt::Key_E && event->modifiers().testFlag(Qt::ControlModifier) && mode == kModeDvdCreator) {
        if (auto* row = currentItem(); row && row->isSelected()) editItem(row, 0);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CListCtrlEx::dragEnterEvent(QDragEnterEvent* event)
{
    AnswerDrag(event, acceptsDrops_);
}

void CListCtrlEx::dragMoveEvent(QDragMoveEvent* event)
{
    AnswerDrag(event, acceptsDrops_);
}

void CListCtrlEx::dropEvent(QDropEvent* event)
{
    for (const QString& file : TakeDroppedFiles(event, acceptsDrops_)) AddListFile(file);
}

}  // namespace velmora::front
