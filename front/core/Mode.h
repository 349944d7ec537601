#pragma once

namespace velmora::front {

// The window's modes, in the order of its mode buttons.
enum Mode : int {
    kModeWelcome = 0,
    kModeAudioConverter = 1,
    kModeVideoConverter = 2,
    kModeDvdCreator = 3,
    kModeAudioBurner = 4,
    kModeCdDataBurner = 5,
    kModeDvdDataBurner = 6,
};

}  // namespace velmora::front
