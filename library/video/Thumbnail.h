#pragma once

#include "MediaLibrary.h"

#include <filesystem>
#include <string_view>

namespace MediaLibrary::Video {

// The encoder's arguments for one PNG frame of video at position, scaled to width x height.
CommandLine ThumbnailCommand(std::string_view position, std::string_view video, std::string_view picture,
                             int width, int height);

// Writes the frame of video at position (any start time the encoder takes; a negative one counts
// as 0) at half the video's size into picture. Leaves no picture at all when no frame is found.
void TakeThumbnail(std::string_view position, std::string_view video, const std::filesystem::path& picture);

}  // namespace MediaLibrary::Video
