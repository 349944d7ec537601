#pragma once

#include "lists/ConvertRow.h"

#include <string>
#include <vector>

namespace velmora::front {

// What a job needs from the window, read on the UI thread when Start is pressed; the job
// thread never touches a widget.
struct JobInput {
    int mode = 0;
    std::vector<ConvertRow> rows{};
    int formatRadio = 0;    // the checked radio of the format group
    bool join = false;      // Join Files
    bool burn = false;      // Burn Output to DVD Disk
    std::string cdDrive{};  // the Audio Converter's drive, "D:"
};

}  // namespace velmora::front
