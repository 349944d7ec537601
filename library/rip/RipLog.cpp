#include "RipLog.h"

#include "OutputNames.h"
#include "files/PendingFile.h"

#include <cstdio>

namespace MediaLibrary::Rip {
namespace {

constexpr int kCopiesTried = 1000;

std::string Hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

std::string Duration(std::int64_t frames)
{
    const std::int64_t sectors = frames / 588;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d.%02d", static_cast<int>(sectors / 75 / 60),
                  static_cast<int>(sectors / 75 % 60), static_cast<int>(sectors % 75));
    return text;
}

void Line(std::string& text, const char* name, const std::string& value)
{
    char label[32];
    std::snprintf(label, sizeof label, "%-20s", name);
    text += label + value + "\n";
}

}  // namespace

std::string ComposeRipLog(const RipLogFacts& facts)
{
    std::string text = facts.version + " - rip log\n\n";
    Line(text, "Drive:", facts.drive);
    Line(text, "Read offset:", std::to_string(facts.readOffset) + " samples");
    Line(text, "Paranoia mode:", facts.paranoiaMode);
    Line(text, "AccurateRip disc:", facts.discIds);
    Line(text, "CDDB disc:", facts.cddbQuery);
    Line(text, "Titles:", facts.titles);
    Line(text, "AccurateRip answer:", facts.database);
    int exact = 0;
    for (const auto& track : facts.tracks) {
        char heading[32];
        std::snprintf(heading, sizeof heading, "\nTrack %02d\n", track.number);
        text += heading;
        Line(text, "  File:", track.file.empty() ? "none" : track.file);
        Line(text, "  Duration:", Duration(track.frames));
        Line(text, "  Paranoia:", track.paranoia);
        Line(text, "  CRC32:", Hex(track.crc32));
        Line(text, "  AccurateRip v1:", Hex(track.arV1));
        Line(text, "  AccurateRip v2:", Hex(track.arV2));
        Line(text, "  AccurateRip:", track.verdict);
        exact += track.paranoia == "exact" && !track.file.empty();
    }
    text.append("\n").append(std::to_string(exact)).append(" of ").append(std::to_string(facts.tracks.size()));
    text.append(" tracks ripped exactly\n");
    return text;
}

std::filesystem::path WriteRipLog(const std::filesystem::path& folder, const std::string& text, std::string& failure)
{
    velmora::platform::PendingFile file(folder / "rip.log");
    if (!file.IsOpen() || !file.Write(text.data(), text.size())) {
        failure = file.Failure();
        return {};
    }
    for (int copy = 1; copy <= kCopiesTried; ++copy) {
        if (copy > 1) file.Retarget(folder / CopyName("rip.log", copy));
        if (file.CommitNew()) return file.Target();
        if (!file.Exists()) break;
    }
    failure = file.Failure();
    return {};
}

}  // namespace MediaLibrary::Rip
