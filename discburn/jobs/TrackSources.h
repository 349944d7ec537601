#pragma once

#include "Lumetra.h"
#include "text/DiscText.h"
#include "writers/AudioTrack.h"

#include <filesystem>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace velmora::discburn {

// Decodes an MP3 into a CD-format WAV at the given path; the reason in words when it cannot.
using Mp3Decoder = std::function<std::string(const std::filesystem::path& mp3, const std::filesystem::path& wave)>;

// Decoding through the conversion library's Convert_MP3_TO_WAV, with the library's reason when it fails.
Mp3Decoder LibraryMp3Decoder(Lumetra::ConvertFn convert, Lumetra::GetLastFailureFn lastFailure);

// An audio CD to burn: its audio tracks in order and its CD-TEXT.
struct AudioDisc {
    std::vector<AudioTrack> tracks;
    DiscText text;
};

// The CD audio a file gives as a track: a CD-format WAV as it is, an MP3 decoded to a WAV in the
// folder. For anything else (other WAVs included), the reason in words.
std::variant<AudioTrack, std::string> PrepareBurnTrack(const std::filesystem::path& file,
                                                       const std::filesystem::path& conversionFolder,
                                                       const Mp3Decoder& decode);

// The audio CD the files make, every track ready before anything is written, each with the
// text its tags give. For the first file that gives no track, that file and the reason.
struct TrackRefusal {
    std::filesystem::path file;
    std::string reason;
};
std::variant<AudioDisc, TrackRefusal> PrepareAudioDisc(const std::vector<std::filesystem::path>& files,
                                                      const std::filesystem::path& conversionFolder,
                                                      const Mp3Decoder& decode);

}  // namespace velmora::discburn
