#pragma once

#include "image/ImageBuilder.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora::front {

// What a burn job needs from the window, read on the UI thread when Start is pressed; the burn
// thread never touches a widget.
struct BurnInput {
    int mode = 0;
    int option = 0;                          // the burn option of the mode (Copy Disk, Create ISO File, ...)
    // The drop-down's recorder: none without a selection, empty for an entry without a recorder.
    std::optional<std::string> recorder{};
    std::vector<discburn::ImageEntry> entries{};   // the burn list's rows
    std::string sourceDrive{};               // Copy Disk: the drop-down's text
    std::string volumeName{};                // of every image the job makes: the date, "2009_11_18"
    bool verify = false;                     // read what was written back and compare it
};

}  // namespace velmora::front
