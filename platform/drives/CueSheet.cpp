#include "CueSheet.h"

#include "CdToc.h"
#include "files/PlainFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

namespace velmora::platform {
namespace {

constexpr std::uint32_t kDiscFrames = 100 * 60 * kFramesPerSecond;   // MSF addresses end at 99:59:74
constexpr std::array kTextKeywords{"TITLE", "PERFORMER", "SONGWRITER", "COMPOSER", "ARRANGER",
                                   "MESSAGE", "DISC_ID",   "GENRE",      "UPC_EAN"};
constexpr std::array kTrackModes{"AUDIO", "MODE1/2352", "MODE2/2352"};
constexpr std::array kTrackFlags{"PRE", "DCP", "4CH", "SCMS"};

// libcdio's separators; any other control character is refused before this.
bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsSeparator(line[at])) ++at;
        const std::size_t start = at;
        while (at < line.size() && !IsSeparator(line[at])) ++at;
        if (at > start) words.push_back(line.substr(start, at - start));
    }
    return words;
}

template <std::size_t N>
bool OneOf(std::string_view word, const std::array<const char*, N>& choices)
{
    return std::any_of(choices.begin(), choices.end(), [&](const char* choice) { return word == choice; });
}

// A number of one or two digits.
std::optional<int> SmallNumber(std::string_view word)
{
    if (word.empty() || word.size() > 2 || !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return word.size() == 1 ? word[0] - '0' : (word[0] - '0') * 10 + (word[1] - '0');
}

// "mm:ss:ff" as frames from the start of the data file.
std::optional<std::uint32_t> Frames(std::string_view word)
{
    const auto first = word.find(':');
    const auto second = word.rfind(':');
    if (first == std::string_view::npos || second != first + 3 || word.size() != second + 3) return std::nullopt;
    const auto minutes = SmallNumber(word.substr(0, first));
    const auto seconds = SmallNumber(word.substr(first + 1, 2));
    const auto frames = SmallNumber(word.substr(second + 1));
    if (!minutes || !seconds || !frames || *seconds >= 60 || *frames >= kFramesPerSecond) return std::nullopt;
    return static_cast<std::uint32_t>((*minutes * 60 + *seconds) * kFramesPerSecond + *frames);
}

std::string Clock(std::uint64_t frames)
{
    const auto seconds = frames / kFramesPerSecond;
    return std::to_string(seconds / 60) + ":" + (seconds % 60 < 10 ? "0" : "") + std::to_string(seconds % 60);
}

// What the sheet has said so far.
struct Sheet {
    bool file = false;
    int track = 0;                       // the number of the last TRACK line; 0 before the first
    int index = -1;                      // the last INDEX number of that track
    std::optional<std::uint32_t> start;  // that track's INDEX 01
    std::optional<std::uint32_t> previousStart;
    std::uint32_t lastTime = 0;          // INDEX times never go back
};

// The FILE line after its keyword and one separator: "name" BINARY. libcdio takes the name from
// the first quote, so nothing may stand between.
std::string CheckFile(Sheet& sheet, std::string_view rest, std::string_view dataFileName)
{
    if (sheet.file) return "a second FILE line; an image must keep all its tracks in one data file";
    if (sheet.track > 0) return "the FILE line must come before the first TRACK";
    sheet.file = true;
    const auto close = rest.find('"', 1);
    if (rest.empty() || rest[0] != '"' || close == std::string_view::npos)
        return "the FILE line must name its data file in quotes";
    const auto name = rest.substr(1, close - 1);
    const auto type = Words(rest.substr(close + 1));
    if (type.size() != 1 || type[0] != "BINARY") return "the data file must be of type BINARY";
    if (name != dataFileName)
        return "the FILE line names \"" + std::string(name) + "\"; the data must be in " + std::string(dataFileName) +
               " beside the cue sheet";
    return {};
}

std::string CheckTrack(Sheet& sheet, const std::vector<std::string_view>& words)
{
    if (!sheet.file) return "a TRACK before the FILE line";
    if (sheet.track > 0 && !sheet.start) return "track " + std::to_string(sheet.track) + " has no INDEX 01";
    const auto number = words.size() == 3 ? SmallNumber(words[1]) : std::nullopt;
    if (!number || !OneOf(words[2], kTrackModes)) return "a TRACK line must be TRACK nn AUDIO (or MODE1/2352, MODE2/2352)";
    if (*number != sheet.track + 1)
        return "track " + std::to_string(*number) + " where track " + std::to_string(sheet.track + 1) +
               " must come; tracks are numbered from 1 in order";
    sheet.track = *number;
    sheet.index = -1;
    sheet.previousStart = sheet.start;
    sheet.start.reset();
    return {};
}

std::string CheckIndex(Sheet& sheet, const std::vector<std::string_view>& words)
{
    const auto number = words.size() == 3 ? SmallNumber(words[1]) : std::nullopt;
    const auto time = words.size() == 3 ? Frames(words[2]) : std::nullopt;
    if (!number || !time) return "an INDEX line must be INDEX nn mm:ss:ff";
    if (*number <= sheet.index || (*number > 1 && !sheet.start))
        return "INDEX " + std::string(words[1]) + " of track " + std::to_string(sheet.track) + " is out of order";
    if (*time < sheet.lastTime || (*number == 1 && sheet.previousStart && *time <= *sheet.previousStart))
        return "INDEX " + std::string(words[1]) + " of track " + std::to_string(sheet.track) +
               " lies before the one ahead of it";
    sheet.index = *number;
    sheet.lastTime = *time;
    if (*number == 1) sheet.start = *time;
    return {};
}

std::string CheckLine(Sheet& sheet, std::string_view line, std::string_view dataFileName)
{
    const auto words = Words(line);
    if (words.empty()) return {};
    const auto keyword = words[0];
    const bool inTrack = sheet.track > 0;
    if (keyword == "REM") return {};
    if (keyword == "FILE") {
        const auto after = static_cast<std::size_t>(keyword.data() + keyword.size() + 1 - line.data());
        return CheckFile(sheet, after <= line.size() ? line.substr(after) : std::string_view{}, dataFileName);
    }
    if (keyword == "TRACK") return CheckTrack(sheet, words);
    if (keyword == "INDEX") return inTrack ? CheckIndex(sheet, words) : "an INDEX before the first TRACK";
    if (keyword == "CATALOG")
        return !inTrack && words.size() == 2 && words[1].size() == 13 &&
                       std::all_of(words[1].begin(), words[1].end(), [](char c) { return c >= '0' && c <= '9'; })
                   ? std::string{}
                   : "CATALOG must come before the tracks, with 13 digits";
    if (keyword == "PREGAP")
        return inTrack && words.size() == 2 && Frames(words[1]) ? std::string{} : "PREGAP must be in a track, as mm:ss:ff";
    if (keyword == "FLAGS")
        return inTrack && std::all_of(words.begin() + 1, words.end(), [](auto flag) { return OneOf(flag, kTrackFlags); })
                   ? std::string{}
                   : "FLAGS must be in a track, of PRE, DCP, 4CH and SCMS";
    if (keyword == "ISRC") return inTrack && words.size() == 2 ? std::string{} : "ISRC must be in a track, with one code";
    if (OneOf(keyword, kTextKeywords))
        return words.size() > 1 ? std::string{} : std::string(keyword) + " has no text";
    std::string problem = "\"";
    problem.append(keyword.substr(0, 40)).append("\" is not a cue sheet command this program reads");
    return problem;
}

}  // namespace

std::string CheckCueSheet(std::string_view text, std::string_view dataFileName, std::uint64_t dataBytes)
{
    if (text.size() > kCueSheetLimit)
        return "the cue sheet is longer than " + std::to_string(kCueSheetLimit / 1024) + " KiB";
    Sheet sheet;
    int lineNumber = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto end = std::min(text.find('\n', at), text.size());
        const auto line = text.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        const auto where = "line " + std::to_string(lineNumber) + ": ";
        if (line.size() > kCueLineLimit) return where + "longer than " + std::to_string(kCueLineLimit) + " characters";
        if (std::any_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r'; }))
            return where + "a control character";
        if (auto problem = CheckLine(sheet, line, dataFileName); !problem.empty()) return where + problem;
    }
    if (sheet.track == 0) return "the cue sheet has no tracks";
    if (!sheet.start) return "track " + std::to_string(sheet.track) + " has no INDEX 01";
    const std::uint64_t sectors = dataBytes / kAudioSectorBytes;
    if (sectors <= *sheet.start)
        return std::string(dataFileName) + " ends at " + Clock(sectors) + ", before track " +
               std::to_string(sheet.track) + " begins at " + Clock(*sheet.start);
    if (sectors + kLeadInFrames > kDiscFrames) return std::string(dataFileName) + " holds more than a CD can";
    return {};
}

std::string CheckDiscImage(const std::filesystem::path& cue)
{
    // libcdio reads the data from the cue's own name with "bin" for "cue", whatever the FILE line says.
    const std::string name = cue.string();
    const std::string extension = cue.extension().string();
    if (extension != ".cue" && extension != ".CUE") return "a disc image is named by its .cue file";
    const std::filesystem::path data = name.substr(0, name.size() - 3) + (extension == ".cue" ? "bin" : "BIN");

    const PlainFile sheet = OpenPlainFile(cue);
    if (!sheet.fd.valid()) return sheet.problem;
    if (sheet.size > kCueSheetLimit)
        return "the cue sheet is longer than " + std::to_string(kCueSheetLimit / 1024) + " KiB";
    const auto text = ReadUpTo(sheet, kCueSheetLimit + 1);
    if (!text) return cue.string() + " cannot be read: " + std::strerror(errno);
    const PlainFile samples = OpenPlainFile(data);
    if (!samples.fd.valid()) return samples.problem;
    return CheckCueSheet(*text, data.filename().string(), samples.size);
}

}  // namespace velmora::platform
