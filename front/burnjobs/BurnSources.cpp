#include "BurnSources.h"

#include "Lumetra.h"
#include "RecordText.h"
#include "core/LumetraBinding.h"
#include "log/Log.h"
#include "paths/PathParts.h"
#include "wave/WaveHeader.h"

#include <string>

namespace velmora::front {
namespace {

// The MP3 as a CD-format WAV in the folder, through the library; the reason when it cannot be.
std::variant<std::filesystem::path, std::string> ConvertMp3ToWave(const std::filesystem::path& mp3,
                                                                   const std::filesystem::path& folder)
{
    const auto convert = Lumetra().Convert_MP3_TO_WAV();
    if (!convert) return std::string("the library cannot convert MP3 files");
    const auto wave = folder / (mp3.stem().string() + ".wav");
    MediaLibrary::Header::MEDIACONVERSIONINFO request{};
    if (!MediaLibrary::SetFieldText(request.szSourceFile, mp3.string()) ||
        !MediaLibrary::SetFieldText(request.szOutputFile, wave.string()))
        return std::string("its path is too long");
    request.nSampleRate = 44100;
    request.nAudioChannels = 2;
    request.nOutputFormat = MediaLibrary::Header::kFormatWav;
    convert(request);
    std::error_code error;
    if (std::filesystem::is_regular_file(wave, error)) return wave;
    const auto failure = Lumetra().GetLastFailure();
    const std::string reason = failure ? failure() : "";
    return reason.empty() ? std::string("it did not convert to WAV") : reason;
}

}  // namespace

std::variant<discburn::AudioTrack, std::string> PrepareBurnTrack(const std::filesystem::path& file,
                                                                 const std::filesystem::path& conversionFolder)
{
    std::filesystem::path wave;
    const std::string extension = platform::LowerExtension(file.string());
    if (extension == ".mp3") {
        auto converted = ConvertMp3ToWave(file, conversionFolder);
        if (auto* reason = std::get_if<std::string>(&converted)) return std::move(*reason);
        wave = std::get<std::filesystem::path>(converted);
    } else if (extension == ".wav") {
        wave = file;
    } else {
        return std::string("it is not a WAV or MP3 file");
    }
    const auto layout = wave::ReadWaveFile(wave);
    if (!layout.IsWave()) return std::string("it is not a WAV file that can be read");
    if (!wave::IsCdAudio(layout.format)) return std::string("it is not CD audio (16-bit stereo PCM at 44.1 kHz)");
    if (auto track = discburn::TrackOfCdWave(wave)) return std::move(*track);
    return std::string("it is not CD audio");
}

}  // namespace velmora::front
