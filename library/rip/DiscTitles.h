#pragma once

#include <optional>
#include <string>
#include <vector>

typedef struct _CdIo CdIo_t;

namespace MediaLibrary::Rip {

// What a disc's tracks are called, and where that was learnt.
struct DiscTitles {
    std::string source{};              // "CD-TEXT", "CDDB rock 0b000d03"
    std::string artist{}, album{}, year{}, genre{};
    std::vector<std::string> tracks{}; // by position on the disc; empty where untitled

    // The title of the track at this position (from 0); empty when it has none.
    std::string TrackTitle(std::size_t position) const;
    bool Any() const;
};

// The disc's CD-TEXT (from the disc, or the TITLE and PERFORMER lines of an image's cue sheet);
// none when it names nothing.
std::optional<DiscTitles> ReadCdText(CdIo_t* disc);

// The titles the user chose for the disc in a drive (a CDDB entry read for its track records),
// kept for the rips that follow. The disc is known by its CDDB query text, so another disc put
// in the drive does not get them.
void RememberChosenTitles(char drive, const std::string& discQuery, DiscTitles titles);
// A new look-up of the drive's disc: what was chosen before no longer holds.
void ForgetChosenTitles(char drive);
std::optional<DiscTitles> ChosenTitles(char drive, const std::string& discQuery);

}  // namespace MediaLibrary::Rip
