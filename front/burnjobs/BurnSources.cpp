#include "BurnSources.h"

#include "Lumetra.h"
#include "core/LumetraBinding.h"

namespace velmora::front {

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
