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

std::optional<discburn::DiscRipFunctions> LibraryDiscRip()
{
    const auto& bound = Lumetra();
    const discburn::DiscRipFunctions rip{bound.BeginDiscRip(),     bound.RipDiscTrack(),
                                         bound.EndDiscRip(),       bound.GetLastFailure(),
                                         bound.GetEncodedSeconds(), bound.CancelConversions()};
    if (!rip.begin || !rip.ripTrack || !rip.end || !rip.lastFailure || !rip.encodedSeconds || !rip.cancel)
        return std::nullopt;
    return rip;
}

}  // namespace velmora::front
