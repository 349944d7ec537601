#pragma once

#include "Sha256.h"
#include "mastering/BurnResult.h"
#include "mastering/BurnWindow.h"
#include "mastering/Mastering.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace velmora::discburn {

// Where a written track lies on the media (or in the image file), and what was written there.
struct TrackOnMedia {
    std::uint64_t offset = 0;   // bytes from the start
    WrittenTrack written;
};

// Reads size bytes of the media from offset; false when they cannot be read.
using MediaReader = std::function<bool(std::uint64_t offset, unsigned char* buffer, std::size_t size)>;

// The data of a disc by byte address, through the drive.
MediaReader DataReader(HeldDrive& drive);
// The audio sectors of a CD through the drive; offsets are sector starts.
MediaReader AudioReader(HeldDrive& drive);
// The bytes of a file, opened now; a reader that fails when the file cannot be opened.
MediaReader FileReader(const std::filesystem::path& file);

// Reads every track back, hashes it and compares it with what was written, reporting the action
// with the bytes checked. kOk when every track holds what was written; else kVerifyMismatch,
// kReadBackFailed or kCancelled, with the failure in words.
HResult VerifyTracks(const std::vector<TrackOnMedia>& tracks, const MediaReader& read, BurnWindow& window, int action,
                     std::string& failure);

}  // namespace velmora::discburn
