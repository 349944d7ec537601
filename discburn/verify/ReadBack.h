#pragma once

#include "Sha256.h"
#include "mastering/BurnResult.h"
#include "mastering/BurnWindow.h"
#include "mastering/Mastering.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
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

// Where bytes that were written show in what the drive read back around them: the distance in
// bytes (whole 4-byte samples, either way) from where they were written; none when they show
// nowhere. Drives read audio some samples early or late.
std::optional<std::int64_t> FindAudioShift(const std::vector<unsigned char>& readBack, std::size_t writtenAt,
                                           const std::vector<unsigned char>& written);

// The data of a disc by byte address, through the drive.
MediaReader DataReader(HeldDrive& drive);
// The audio of a CD through the drive, by byte address from sector 0.
MediaReader AudioReader(HeldDrive& drive);
// The bytes of a file, opened now; a reader that fails when the file cannot be opened.
MediaReader FileReader(const std::filesystem::path& file);

// Reads every track back, hashes it and compares it with what was written, reporting the action
// with the bytes checked. kOk when every track holds what was written; else kVerifyMismatch,
// kReadBackFailed or kCancelled, with the failure in words.
HResult VerifyTracks(const std::vector<TrackOnMedia>& tracks, const MediaReader& read, BurnWindow& window, int action,
                     std::string& failure);

}  // namespace velmora::discburn
