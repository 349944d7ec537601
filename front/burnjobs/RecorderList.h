#pragma once

#include "recorders/RecorderEnum.h"

#include <string>
#include <vector>

class QComboBox;

namespace velmora::front {

// The records behind a recorder drop-down: entry i of the drop-down is record i here.
class RecorderRecords {
public:
    // The entry's record; null when the entry has none.
    discburn::CRecorderDevice* At(int index) const;
    void Clear() { entries_.clear(); }
    void Add(discburn::RecorderEntry entry) { entries_.push_back(std::move(entry)); }
    int Count() const { return static_cast<int>(entries_.size()); }

private:
    std::vector<discburn::RecorderEntry> entries_;
};

// Lists the machine's recorders in the drop-down, each entry named by its volume paths, and
// selects the first. The failures of the enumeration go to the error box. No signals are emitted
// while the list is filled; the caller handles the selection of entry 0 itself.
void FillRecorderList(QComboBox& list, RecorderRecords& records, const discburn::RecorderErrorBox& errorBox);

}  // namespace velmora::front
