#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace MediaLibrary::Video {

constexpr std::string_view kAuthoringTool = "dvdauthor";
// The authoring tool refuses to guess the TV standard; the disc is always PAL.
constexpr std::string_view kAuthoringStandard = "VIDEO_FORMAT=PAL";

// The dest folder of an authoring description as the authoring tool reads it (the root element's
// dest attribute, entities decoded, raw tabs and line ends made blanks), or why there is none.
struct AuthoringDest {
    std::optional<std::filesystem::path> folder;
    std::string whyNone;   // in words, after the description's name: "names no dest folder ..."
};
// A dest that XML cannot carry (not UTF-8, control characters, references to non-characters) is none.
AuthoringDest AuthoringDestination(std::string_view xml);
// The same for an authoring file (its first 4 MiB).
AuthoringDest AuthoringFileDestination(const std::filesystem::path& xml);

// Removes VIDEO_TS and AUDIO_TS of an earlier run from dest, and nothing else there: authoring
// into an old VIDEO_TS adds a title set to the old disc instead of making a new one.
void ClearEarlierDiscFolders(const std::filesystem::path& dest);

}  // namespace MediaLibrary::Video
