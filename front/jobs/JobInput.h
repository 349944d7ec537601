#pragma once

#include <array>
#include <string>
#include <vector>

namespace velmora::front {

// A convert-list row as the job reads it: the texts of its cells and its check box.
struct ConvertRow {
    std::array<std::string, 7> cells;
    bool checked = false;
};

// What a job needs from the window, read on the UI thread when Start is pressed; the job
// thread never touches a widget.
struct JobInput {
    int mode = 0;
    std::vector<ConvertRow> rows;
    int formatRadio = 0;   // the checked radio of the format group
    bool join = false;     // Join Files
    bool burn = false;     // Burn Output to DVD Disk
    std::string driveText; // the selected drive-list item
};

}  // namespace velmora::front
