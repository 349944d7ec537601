#pragma once

#include <vector>

namespace velmora::front {

// A caption a mode gives a control: a UI string row, or a text of its own when row is negative.
struct ModeCaption {
    int control;
    int row;
    const char* text = nullptr;
};

// The controls each mode shows, hides, enables and captions, by control ID.
struct ModeControls {
    std::vector<int> hiddenOnLeave{};
    std::vector<int> shownOnLeave{};     // the welcome state gives way to the heading
    std::vector<int> enabledOnLeave{};
    std::vector<int> shownOnEnter{};
    std::vector<int> enabledOnEnter{};
    std::vector<int> disabledOnEnter{};
    std::vector<ModeCaption> captions{};
};

// Modes 0 (welcome) to 6.
const ModeControls& ControlsOfMode(int mode);

// The 54 work-area controls that the window shows, hides and enables by ID.
const std::vector<int>& ControlMapIds();

// Controls that a CD Data Burner option (0 Copy Disk, 1 Create ISO File, 2 Burn ISO File) disables.
const std::vector<int>& ControlsDisabledByCdOption(int option);

}  // namespace velmora::front
