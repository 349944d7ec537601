#pragma once

#include "mastering/BurnResult.h"
#include "RecorderDevice.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmora::discburn {

// The recorders of the machine: libburn's drives, then the configured pseudo recorders.
class CRecorderEnum {
public:
    // Starts the mastering libraries and finds the recorders. False (with errorText) when the libraries do not start.
    bool Create();
    // Uses the given unique ids instead of looking for recorders.
    bool CreateFrom(std::vector<std::string> uniqueIds);

    // False (with errorText) when there is no recorder at all.
    bool CheckEnvironment();
    int Count() const { return static_cast<int>(ids_.size()); }
    std::string UniqueIdAt(int index);
    std::string ErrorText() const { return errorText; }

    HResult hr = kOk;
    std::string errorText;

private:
    std::vector<std::string> ids_;
};

// One line of a recorder list: its volume paths joined by "," and the opened record.
struct RecorderEntry {
    std::string text;
    std::unique_ptr<CRecorderDevice> device;
};

// Shows a failure of the enumeration to the user (an error box in the window).
using RecorderErrorBox = std::function<void(const std::string& text)>;

// The entries a recorder drop-down lists, in order. The error box shows every failure of the
// enumeration itself, and a recorder that does not open only when it is the only one.
// The enumeration has been created (or failed to be) by the caller.
std::vector<RecorderEntry> ListRecorders(CRecorderEnum& recorders, const RecorderErrorBox& errorBox);

// The same for the recorders of the machine.
std::vector<RecorderEntry> ListMachineRecorders(const RecorderErrorBox& errorBox);

}  // namespace velmora::discburn
