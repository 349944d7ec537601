#include "ReportParser.h"
#include "text/Trim.h"

#include <cctype>
#include <climits>

namespace MediaLibrary::Video {
namespace {

using velmora::platform::Trim;

// "25", "29.97", "90k" before the given unit word; the whole part, with k meaning thousands.
std::optional<int> NumberBefore(std::string_view field, std::string_view unit)
{
    field = Trim(field);
    const auto blank = field.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    const auto rest = Trim(field.substr(blank));
    if (!rest.starts_with(unit)) return std::nullopt;
    if (rest.size() > unit.size() && std::isalpha(static_cast<unsigned char>(rest[unit.size()]))) return std::nullopt;

    std::string_view number = field.substr(0, blank);
    long long scale = 1;
    if (number.ends_with('k')) {
        scale = 1000;
        number.remove_suffix(1);
    }
    if (number.empty() || !std::isdigit(static_cast<unsigned char>(number.front()))) return std::nullopt;
    long long whole = 0;
    std::size_t at = 0;
    for (; at < number.size() && std::isdigit(static_cast<unsigned char>(number[at])); ++at) {
        whole = whole * 10 + (number[at] - '0');
        if (whole > INT_MAX) return std::nullopt;
    }
    long long value = whole * scale;
    if (at < number.size() && number[at] == '.' && scale == 1000) {
        // "1.5k" keeps its fraction before the whole part is taken
        long long fraction = 0, divisor = 1;
        for (++at; at < number.size() && divisor < 1000 && std::isdigit(static_cast<unsigned char>(number[at])); ++at) {
            fraction = fraction * 10 + (number[at] - '0');
            divisor *= 10;
        }
        value += fraction * 1000 / divisor;
    }
    if (value > INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}

// The first field that reads WxH with both sides positive.
bool ReadSize(const std::vector<std::string_view>& fields, ReportFacts& facts)
{
    for (auto field : fields) {
        field = Trim(field);
        const auto token = field.substr(0, field.find(' '));
        const auto x = token.find('x');
        if (x == std::string_view::npos || x == 0 || x + 1 == token.size()) continue;
        const auto width = token.substr(0, x);
        const auto height = token.substr(x + 1);
        auto digits = [](std::string_view text) {
            return text.size() <= 6 &&
                   text.find_first_not_of("0123456789") == std::string_view::npos;
        };
        if (!digits(width) || !digits(height)) continue;
        const int w = LeadingInteger(width);
        const int h = LeadingInteger(height);
        if (w <= 0 || h <= 0) continue;
        facts.width = w;
        facts.height = h;
        return true;
    }
    return false;
}

// The figure of the first field that reads "N unit", or 0 when it is not in 1..most.
int FirstWith(const std::vector<std::string_view>& fields, std::string_view unit, int most)
{
    for (const auto field : fields) {
        if (const auto value = NumberBefore(field, unit)) return *value > 0 && *value <= most ? *value : 0;
    }
    return 0;
}

void ReadVideo(std::string_view description, ReportFacts& facts)
{
    const auto fields = SplitFields(description);
    ReadSize(fields, facts);
    facts.frameRate = FirstWith(fields, "fps", kMostFramesPerSecond);
    if (facts.frameRate == 0) facts.frameRate = FirstWith(fields, "tbr", kMostFramesPerSecond);
}

void ReadAudio(std::string_view description, ReportFacts& facts)
{
    const auto fields = SplitFields(description);
    facts.sampleRate = FirstWith(fields, "Hz", kMostHertz);
    facts.audioBitRate = FirstWith(fields, "kb/s", kMostKilobitsPerSecond);
}

void ReadDuration(std::string_view line, ReportFacts& facts)
{
    constexpr std::string_view kDuration = "Duration:";
    const auto afterLabel = line.substr(line.find(kDuration) + kDuration.size());
    if (const auto comma = afterLabel.find(','); comma != std::string_view::npos)
        facts.duration = std::string(afterLabel.substr(0, comma));

    constexpr std::string_view kBitrate = "bitrate:";
    const auto bitrate = line.find(kBitrate);
    if (bitrate == std::string_view::npos) return;
    const auto value = line.substr(bitrate + kBitrate.size());
    facts.overallBitRate = FirstWith({value.substr(0, value.find(','))}, "kb/s", kMostKilobitsPerSecond);
}

// The description after "Video:" or "Audio:" of a stream line, if the line is such a stream.
std::optional<std::string_view> StreamDescription(std::string_view line, std::string_view kind)
{
    if (!line.starts_with("Stream #")) return std::nullopt;
    const auto colon = line.find(": ");
    if (colon == std::string_view::npos) return std::nullopt;
    const auto rest = line.substr(colon + 2);
    if (!rest.starts_with(kind)) return std::nullopt;
    return rest.substr(kind.size());
}

}  // namespace

int LeadingInteger(std::string_view text)
{
    std::size_t at = text.find_first_not_of(" \t\r\n\v\f");
    if (at == std::string_view::npos) return 0;
    bool negative = false;
    if (text[at] == '+' || text[at] == '-') negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > INT_MAX) return 0;   // no such figure in a real report
    }
    return static_cast<int>(negative ? -value : value);
}

std::vector<std::string_view> SplitFields(std::string_view description)
{
    std::vector<std::string_view> fields;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= description.size(); ++at) {
        const char c = at < description.size() ? description[at] : ',';
        if (c == '(' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
        } else if (c == ',' && (depth == 0 || at == description.size())) {
            if (at > start) fields.push_back(description.substr(start, at - start));
            start = at + 1;
        }
    }
    return fields;
}

ReportFacts ParseReport(std::string_view report)
{
    report = report.substr(0, report.find('\0'));
    if (const auto input = report.find("Input #"); input != std::string_view::npos) report.remove_prefix(input);
    ReportFacts facts;
    bool durationSeen = false, videoSeen = false, audioSeen = false;
    while (!report.empty()) {
        const auto end = report.find('\n');
        const auto line = Trim(report.substr(0, end));
        report = end == std::string_view::npos ? std::string_view{} : report.substr(end + 1);

        if (line.starts_with("Output #") || line.starts_with("Stream mapping:")) break;
        if (!durationSeen && line.starts_with("Duration:")) {
            durationSeen = true;
            ReadDuration(line, facts);
        } else if (const auto video = StreamDescription(line, "Video:");
                   video && !videoSeen && line.find("(attached pic)") == std::string_view::npos) {
            videoSeen = true;
            ReadVideo(*video, facts);
        } else if (const auto audio = StreamDescription(line, "Audio:"); audio && !audioSeen) {
            audioSeen = true;
            ReadAudio(*audio, facts);
        }
    }
    facts.hasStreams = videoSeen || audioSeen;
    return facts;
}

}  // namespace MediaLibrary::Video
