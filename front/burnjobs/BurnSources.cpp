#include "BurnSources.h"

#include "log/Log.h"
#include "paths/PathParts.h"
#include "Lumetra.h"
#include "RecordText.h"
#include "core/LumetraBinding.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace velmora::front {
namespace {

std::optional<std::filesystem::path> ConvertMp3ToWave(const std::filesystem::path& mp3, const std::filesystem::path& folder)
{
    const auto convert = Lumetra().Convert_MP3_TO_WAV();
    if (!convert) {
        LogMessage(1, "%s left out of the audio CD: the library cannot convert MP3 files", mp3.c_str());
        return std::nullopt;
    }
    const auto wave = folder / (mp3.stem().string() + ".wav");
    MediaLibrary::Header::MEDIACONVERSIONINFO request{};
    if (!MediaLibrary::SetFieldText(request.szSourceFile, mp3.string()) ||
        !MediaLibrary::SetFieldText(request.szOutputFile, wave.string())) {
        LogMessage(1, "%s left out of the audio CD: its path is too long", mp3.c_str());
        return std::nullopt;
    }
    request.nSampleRate = 44100;
    request.nAudioChannels = 2;
    request.nOutputFormat = MediaLibrary::Header::kFormatWav;
    convert(request);   // its result says nothing: the output file does
    std::error_code error;
    if (!std::filesystem::is_regular_file(wave, error)) {
        LogMessage(1, "%s left out of the audio CD: it did not convert to WAV", mp3.c_str());
        return std::nullopt;
    }
    return wave;
}

}  // namespace

std::optional<discburn::AudioTrack> GetBurnStream(const std::filesystem::path& file,
                                                  const std::filesystem::path& conversionFolder)
{
    std::optional<std::filesystem::path> wave;
    const std::string extension = platform::LowerExtension(file.string());
    if (extension == ".mp3") wave = ConvertMp3ToWave(file, conversionFolder);
    else if (extension == ".wav") wave = file;
    if (!wave) return std::nullopt;
    auto track = discburn::TrackOfCdWave(*wave);
    if (!track) LogMessage(2, "%s left out of the audio CD: it is not CD audio", file.c_str());
    return track;
}

}  // namespace velmora::front
