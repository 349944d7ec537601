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

// A hidden folder inside dest for the authoring tool to write into. Its VIDEO_TS and AUDIO_TS take
// the places of the earlier ones only once the tool has succeeded, so a failed or cancelled run
// leaves the earlier disc as it was and nothing partial (authoring into an old VIDEO_TS would add
// a title set to the old disc instead of making a new one). Removed with what is left in it.
class DiscFolderStaging {
public:
    explicit DiscFolderStaging(std::filesystem::path dest);
    ~DiscFolderStaging();
    DiscFolderStaging(const DiscFolderStaging&) = delete;
    DiscFolderStaging& operator=(const DiscFolderStaging&) = delete;

    // Empty when none could be made; Failure() says why.
    const std::filesystem::path& Path() const { return path_; }
    const std::string& Failure() const { return failure_; }
    // The new folders in place of the earlier ones; a link in their place is replaced itself,
    // never followed. False with Failure() when a folder cannot be moved.
    bool PutInPlace();

private:
    std::filesystem::path dest_, path_;
    bool madeDest_ = false;
    std::string failure_;
};

}  // namespace MediaLibrary::Video
