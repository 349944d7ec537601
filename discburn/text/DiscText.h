#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::discburn {

// The CD-TEXT of an audio CD: the album's title and performer, and each track's. UTF-8; an empty
// text is left off the disc.
struct TrackText {
    std::string title{}, performer{};
    std::string album{}, albumPerformer{};   // what the track's source says of its album
};
struct DiscText {
    std::string title, performer;
    std::vector<TrackText> tracks;
    bool Empty() const;
};

// The text of one source file: an MP3's tags, read with TagLib, or else the file's name as its title.
TrackText TrackTextOf(const std::filesystem::path& file);

// The disc's text from its tracks': the album and its performer when every track that names one
// agrees, a common track performer standing in for the album's.
DiscText DiscTextOf(std::vector<TrackText> tracks);

// CD-TEXT characters are ISO-8859-1: one that has no place there becomes '?', control characters
// become spaces, and at most limit of them are kept.
std::string Latin1Text(std::string_view utf8, std::size_t limit);

// The CD-TEXT a cue sheet quotes on one line: ISO-8859-1 as on the disc, its quotes made
// apostrophes.
std::string CueSheetText(std::string_view utf8, std::size_t limit);

}  // namespace velmora::discburn
