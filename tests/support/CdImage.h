#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora::test {

struct ImageTrack {
    int seconds;
    double pitch;   // Hz of the left channel (the right one is a fifth above); 0 for silence
};

// CD-TEXT of an image, written into its cue sheet.
struct ImageText {
    std::string performer, album;
    std::vector<std::string> titles;   // per track; empty ones are left out
};

struct CdImage {
    std::filesystem::path cue;
    std::vector<std::string> tracks;   // each track's PCM exactly as written into the image
};

// An audio disc as a BIN/CUE image in the folder: name.cue and name.bin, one sine tone per track.
CdImage WriteCdImage(const std::filesystem::path& folder, const std::string& name,
                     const std::vector<ImageTrack>& tracks, const ImageText& text = {});
// mixed.cue in the folder: a data track of 2 s, then 2 s of audio whose every byte is 0x11.
std::filesystem::path WriteMixedCdImage(const std::filesystem::path& folder);

// name.cue in the folder: one MODE1/2352 data track whose sectors hold the user data (whole
// 2048-byte sectors) behind their sync and header.
std::filesystem::path WriteDataCdImage(const std::filesystem::path& folder, const std::string& name,
                                       const std::string& userData);

// Little-endian 16-bit stereo samples of such a tone at 44.1 kHz, frames long.
std::string TonePcm(std::size_t frames, double pitch);

// The little-endian 32-bit number at a byte offset (WAV headers, .cda records).
std::uint32_t Little32(const std::string& bytes, std::size_t at);

// "X=/path/a.cue;Y=/path/folder" for VELMORA_DRIVES.
std::string DriveList(const std::vector<std::pair<char, std::filesystem::path>>& drives);

}  // namespace velmora::test
