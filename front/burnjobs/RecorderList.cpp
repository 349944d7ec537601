#include "RecorderList.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace velmora::front {

discburn::CRecorderDevice* RecorderRecords::At(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return entries_[static_cast<std::size_t>(index)].device.get();
}

void FillRecorderList(QComboBox& list, RecorderRecords& records, const discburn::RecorderErrorBox& errorBox)
{
    const QSignalBlocker quiet(list);
    list.clear();
    records.Clear();
    for (auto& entry : discburn::ListMachineRecorders(errorBox)) {
        list.addItem(QString::fromStdString(entry.text), records.Count());
        records.Add(std::move(entry));
    }
    list.setCurrentIndex(records.Count() > 0 ? 0 : -1);
}

}  // namespace velmora::front
