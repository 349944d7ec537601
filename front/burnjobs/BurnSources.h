#pragma once

#include <filesystem>
#include <string>

namespace velmora::front {

// Decodes an MP3 into a CD-format WAV through the library the window bound; the reason in words
// when it cannot (the burn engine's Mp3Decoder).
std::string DecodeMp3WithLibrary(const std::filesystem::path& mp3, const std::filesystem::path& wave);

}  // namespace velmora::front
