#pragma once

#include <filesystem>
#include <string>

namespace MediaLibrary::Rip {

// What an MP3 of a ripped track says about itself; empty texts are left out.
struct TrackTags {
    std::string title{}, artist{}, album{}, year{}, genre{};
    int track = 0;
    int tracks = 0;
};

// Gives the MP3 an ID3v2.4 tag with these frames (and no other tag); false, with the reason,
// when the file cannot be read as MP3 or not saved.
bool WriteId3Tags(const std::filesystem::path& mp3, const TrackTags& tags, std::string& failure);

}  // namespace MediaLibrary::Rip
