#pragma once

#include <QString>

#include <cstdint>

namespace velmora::front {

// What the burner modes hold their disc usage against.
inline constexpr std::uint64_t kAudioCdSeconds = 4800;
inline constexpr std::uint64_t kCdDataBytes = 734003200;

// A DVD Data Burner option (3 CD, 4 DVD, 5 DVD-DL): its capacity figure, the progress range and
// the usage bar's labels.
struct DvdOption {
    std::uint64_t capacity;
    int progressMaximum;
    const char* leftLabel;
    const char* rightLabel;
};
const DvdOption& DvdOptionOf(int option);

// The usage bar as a burner mode shows it: the right label, the status text and the bar's position.
struct UsageDisplay {
    QString capacityText;
    QString usedText;
    std::uint64_t position = 0;
};
UsageDisplay DescribeUsage(int mode, int burnOption, std::uint64_t used, std::uint64_t capacity);

}  // namespace velmora::front
