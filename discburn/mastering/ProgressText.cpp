#include "ProgressText.h"

#include <cstdio>

namespace velmora::discburn {
namespace {

// A time as the status line shows it: "4:05", "1:02:03".
std::string ClockText(int seconds)
{
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

using Row = BurnWindow;
constexpr std::uint64_t kMegabyte = 1000 * 1000;

// The row's text with %1 and %2 filled in.
std::string Filled(std::string text, const std::string& first, const std::string& second = {})
{
    for (const auto& [mark, value] : {std::pair<std::string, std::string>{"%1", first}, {"%2", second}})
        if (const auto at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), value);
    return text;
}

std::string Megabytes(std::uint64_t bytes)
{
    return std::to_string((bytes + kMegabyte / 2) / kMegabyte);
}

// "N of M MB written - T left"; empty while the size of the write is unknown.
std::string Amount(const WriteProgress& progress, int row, BurnWindow& window)
{
    if (progress.bytesTotal == 0) return {};
    std::string text = Filled(window.UiText(row), Megabytes(progress.bytesDone), Megabytes(progress.bytesTotal));
    if (progress.secondsLeft > 0) text += " - " + Filled(window.UiText(Row::kTimeLeftRow), ClockText(progress.secondsLeft));
    return text;
}

std::string AudioText(const WriteProgress& progress, BurnWindow& window)
{
    switch (progress.action) {
    case kAudioPreparing:
        return "Preparing to write " + std::to_string(progress.trackCount) + " audio tracks...";
    case kAudioWriting: {
        const std::string amount = Amount(progress, Row::kBurnProgressRow, window);
        return "Writing track " + std::to_string(progress.track) + " of " + std::to_string(progress.trackCount) +
               "..." + (amount.empty() ? "" : " " + amount);
    }
    case kAudioFinishing:
        return "Finishing the disc...";
    case kAudioVerifying:
        return window.UiText(Row::kVerifyingRow) + " " + Amount(progress, Row::kCheckedRow, window);
    case kAudioReading:
        return "Reading track " + std::to_string(progress.track) + " of " + std::to_string(progress.trackCount) +
               "... " + Amount(progress, Row::kReadRow, window);
    default:
        return {};
    }
}

std::string DataText(const WriteProgress& progress, BurnWindow& window)
{
    switch (progress.action) {
    case kValidatingMedia: return "Validating current media...";
    case kFormattingMedia: return "Formatting media...";
    case kInitializingHardware: return "Initializing hardware...";
    case kCalibratingPower: return "Optimizing laser intensity...";
    case kWritingData: return Amount(progress, Row::kBurnProgressRow, window);
    case kFinalization: return "Finalizing writing...";
    case kCompleted: return "Completed!";
    case kVerifying: return window.UiText(Row::kVerifyingRow) + " " + Amount(progress, Row::kCheckedRow, window);
    case kReadingDisc: return "Reading the disc... " + Amount(progress, Row::kReadRow, window);
    default: return {};
    }
}

}  // namespace

std::string ProgressStatusText(const WriteProgress& progress, bool audio, BurnWindow& window)
{
    return audio ? AudioText(progress, window) : DataText(progress, window);
}

}  // namespace velmora::discburn
