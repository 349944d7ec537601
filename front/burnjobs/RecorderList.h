#pragma once

#include "recorders/RecorderEnum.h"

#include <optional>
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
    // The first entry whose recorder writes audio CDs; -1 when none does.
    int FirstAudioRecorder() const;

private:
    std::vector<discburn::RecorderEntry> entries_;
};

// Lists the machine's recorders in the drop-down, each entry named by its volume paths, and
// selects the first. The failures of the enumeration go to the error box. No signals are emitted
// while the list is filled; the caller handles the selection of entry 0 itself.
void FillRecorderList(QComboBox& list, RecorderRecords& records, const discburn::RecorderErrorBox& errorBox);

// The drive drop-down of the burner modes: the recorders it lists and the one picked.
class RecorderDropDown {
public:
    explicit RecorderDropDown(QComboBox& list) : list_(list) {}

    // Lists the recorders and tries the mode's writer on the first; the Audio Burner selects the
    // first that writes audio CDs. False when the recorder selected cannot burn the mode's discs.
    bool Fill(int mode, const discburn::RecorderErrorBox& errorBox);
    // Tries the mode's writer on the entry picked, as a recorder is checked when it is chosen;
    // false when it cannot write what the mode burns.
    bool Probe(int index, int mode) const;
    // The selected entry's unique id: none without a selection, empty for an entry without a record.
    std::optional<std::string> Choice() const;
    // The list now shows something else (the CD drives to copy from): no entry is a recorder.
    void Forget() { records_.Clear(); }

private:
    QComboBox& list_;
    RecorderRecords records_;
};

}  // namespace velmora::front
