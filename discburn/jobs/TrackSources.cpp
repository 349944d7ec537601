#include "TrackSources.h"

#include "RecordText.h"
#include "paths/PathParts.h"
#include "wave/WaveHeader.h"

namespace velmora::discburn {

Mp3Decoder LibraryMp3Decoder(Lumetra::ConvertFn convert, Lumetra::GetLastFailureFn lastFailure)
{
    return [convert, lastFailure](const std::filesystem::path& mp3, const std::filesystem::path& wave) -> std::string {
        if (!convert || !lastFailure) return "the library cannot convert MP3 files";
        MediaLibrary::Header::MEDIACONVERSIONINFO request{};
        if (!MediaLibrary::SetFieldText(request.szSourceFile, mp3.string()) ||
            !MediaLibrary::SetFieldText(request.szOutputFile, wave.string()))
            return "its path is too long";
        request.nSampleRate = 44100;
        request.nAudioChannels = 2;
        request.nOutputFormat = MediaLibrary::Header::kFormatWav;
        convert(request);
        return lastFailure();
    };
}

std::variant<AudioTrack, std::string> PrepareBurnTrack(const std::filesystem::path& file,
                                                       const std::filesystem::path& conversionFolder,
                                                       const Mp3Decoder& decode)
{
    std::filesystem::path wave;
    const std::string extension = platform::LowerExtension(file.string());
    if (extension == ".mp3") {
        wave = conversionFolder / (file.stem().string() + ".wav");
        const std::string reason = decode(file, wave);
        std::error_code error;
        if (!reason.empty()) return reason;
        if (!std::filesystem::is_regular_file(wave, error)) return std::string("it did not convert to WAV");
    } else if (extension == ".wav") {
        wave = file;
    } else {
        return std::string("it is not a WAV or MP3 file");
    }
    const auto layout = velmora::wave::ReadWaveFile(wave);
    if (!layout.IsWave()) return std::string("it is not a WAV file that can be read");
    if (!velmora::wave::IsCdAudio(layout.format)) return std::string("it is not CD audio (16-bit stereo PCM at 44.1 kHz)");
    return TrackOfCdWave(wave, layout);
}

std::variant<AudioDisc, TrackRefusal> PrepareAudioDisc(const std::vector<std::filesystem::path>& files,
                                                      const std::filesystem::path& conversionFolder,
                                                      const Mp3Decoder& decode)
{
    AudioDisc disc;
    std::vector<TrackText> texts;
    for (const auto& file : files) {
        auto prepared = PrepareBurnTrack(file, conversionFolder, decode);
        if (auto* reason = std::get_if<std::string>(&prepared)) return TrackRefusal{file, std::move(*reason)};
        disc.tracks.push_back(std::get<AudioTrack>(std::move(prepared)));
        texts.push_back(TrackTextOf(file));
    }
    disc.text = DiscTextOf(std::move(texts));
    return disc;
}

}  // namespace velmora::discburn
