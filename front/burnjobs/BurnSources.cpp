#include "BurnSources.h"

#include "Lumetra.h"
#include "core/LumetraBinding.h"

namespace velmora::front {

std::optional<discburn::DiscRipFunctions> LibraryDiscRip()
{
    const auto& bound = Lumetra();
    const auto begin = bound.BeginDiscRip();
    const auto beginWav = [begin](char letter, const char* folder) {
        MediaLibrary::Header::MEDIACONVERSIONINFO wav;
        wav.nOutputFormat = MediaLibrary::Header::kFormatWav;
        return begin(letter, folder, wav);
    };
    const discburn::DiscRipFunctions rip{beginWav,           bound.RipDiscTrack(),      bound.EndDiscRip(),
                                         bound.GetLastFailure(), bound.GetEncodedSeconds(), bound.CancelConversions()};
    if (!begin || !rip.ripTrack || !rip.end || !rip.lastFailure || !rip.encodedSeconds || !rip.cancel)
        return std::nullopt;
    return rip;
}

}  // namespace velmora::front
