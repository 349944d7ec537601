#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace MediaLibrary::Video {

// No real stream comes near these; a figure beyond one is a misreading and is taken as unknown (0),
// so that nothing downstream (command lines, sums of rates) meets an absurd or overflowing number.
inline constexpr int kMostKilobitsPerSecond = 100'000'000;   // 100 Gb/s, above raw 8K video
inline constexpr int kMostHertz = 1'000'000;
inline constexpr int kMostFramesPerSecond = 1'000;           // "90k tbr" is a time base, not a rate

// What the encoder's description of an input says; 0 where it says nothing usable.
struct ReportFacts {
    int overallBitRate = 0;    // kb/s, from the duration line
    int width = 0;
    int height = 0;
    int frameRate = 0;         // whole frames per second
    int sampleRate = 0;        // Hz
    int audioBitRate = 0;      // kb/s
    std::optional<std::string> duration;   // the text between "Duration:" and the next comma
    bool hasStreams = false;               // a video or an audio stream was described
};

// Reads only the input section of the report (from its "Input #" line, when there is one): its
// duration line, its first video stream that is not an attached picture and its first audio stream.
ReportFacts ParseReport(std::string_view report);

// A stream description split at the commas that stand outside parentheses and brackets.
std::vector<std::string_view> SplitFields(std::string_view description);

// Leading blanks, an optional sign and the leading digits; no digits give 0.
int LeadingInteger(std::string_view text);

}  // namespace MediaLibrary::Video
