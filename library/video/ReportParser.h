#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace MediaLibrary::Video {

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
