#include "BurnSources.h"

#include "Lumetra.h"
#include "RecordText.h"
#include "core/LumetraBinding.h"

namespace velmora::front {

std::string DecodeMp3WithLibrary(const std::filesystem::path& mp3, const std::filesystem::path& wave)
{
    const auto convert = Lumetra().Convert_MP3_TO_WAV();
    if (!convert) return "the library cannot convert MP3 files";
    MediaLibrary::Header::MEDIACONVERSIONINFO request{};
    if (!MediaLibrary::SetFieldText(request.szSourceFile, mp3.string()) ||
        !MediaLibrary::SetFieldText(request.szOutputFile, wave.string()))
        return "its path is too long";
    request.nSampleRate = 44100;
    request.nAudioChannels = 2;
    request.nOutputFormat = MediaLibrary::Header::kFormatWav;
    convert(request);
    const auto failure = Lumetra().GetLastFailure();
    return failure ? failure() : "";
}

}  // namespace velmora::front
