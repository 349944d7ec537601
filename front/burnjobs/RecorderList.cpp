#include "RecorderList.h"

#include "recorders/RecorderProbe.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace velmora::front {

discburn::CRecorderDevice* RecorderRecords::At(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return entries_[static_cast<std::size_t>(index)].device.get();
}

int RecorderRecords::FirstAudioRecorder() const
{
    for (int index = 0; index < Count(); ++index)
        if (auto* recorder = At(index); recorder && discburn::ProbeRecorder(*recorder, discburn::kAudioBurnerMode))
            return index;
    return -1;
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

bool RecorderDropDown::Fill(int mode, const discburn::RecorderErrorBox& errorBox)
{
    FillRecorderList(list_, records_, errorBox);
    if (mode != discburn::kAudioBurnerMode) return Probe(list_.currentIndex(), mode);
    const int audio = records_.FirstAudioRecorder();
    if (audio < 0) return false;
    const QSignalBlocker quiet(list_);
    list_.setCurrentIndex(audio);
    return true;
}

bool RecorderDropDown::Probe(int index, int mode) const
{
    discburn::CRecorderDevice* recorder = records_.At(index);
    return recorder && discburn::ProbeRecorder(*recorder, mode);
}

std::optional<std::string> RecorderDropDown::Choice() const
{
    const int index = list_.currentIndex();
    if (index < 0) return std::nullopt;
    const discburn::CRecorderDevice* record = records_.At(index);
    return record ? record->uniqueId : std::string();
}

}  // namespace velmora::front
