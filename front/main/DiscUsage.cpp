#include "DiscUsage.h"

#include "core/Mode.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace velmora::front {
namespace {

constexpr std::uint64_t kMiB = 1u << 20;
constexpr std::uint64_t kGiB = 1u << 30;

QString Printf(const char* format, auto... values)
{
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return QString::fromUtf8(text);
}

}  // namespace

const DvdOption& DvdOptionOf(int option)
{
    static constexpr std::array<DvdOption, 3> options{{
        {kCdDataBytes, 734, "0 MB", "700 MB"},
        {4718592, 8719, "0 GB", "4.5 GB"},
        {8912896, 8912, "0 GB", "8.5 GB"},
    }};
    if (option < 3 || option > 5) throw std::out_of_range("no such DVD Data Burner option");
    return options[static_cast<std::size_t>(option - 3)];
}

UsageDisplay DescribeUsage(int mode, int burnOption, std::uint64_t used, std::uint64_t capacity)
{
    if (mode == kModeAudioBurner)
        return {Printf("%d min", static_cast<int>(capacity / 60)), Printf("%d min", static_cast<int>(used / 60)), used};
    UsageDisplay display;
    if (mode == kModeDvdDataBurner && burnOption == 3) {
        display.usedText = Printf("%d MB", static_cast<int>(used / kMiB));
        display.capacityText = Printf("%d MB", static_cast<int>(capacity / kMiB));
    } else if (mode == kModeDvdDataBurner) {
        display.usedText = Printf("%0.2g GB", static_cast<double>(used) / kGiB);
        display.capacityText = Printf("%0.2g GB", static_cast<double>(capacity) / kMiB);
    }
    if (used == 0) display.usedText.clear();
    display.position = used / kMiB;
    return display;
}

}  // namespace velmora::front
