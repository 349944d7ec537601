// The dest of an authoring file names the folder whose VIDEO_TS and AUDIO_TS are removed before
// authoring: it must be read as the authoring tool reads it, or not at all.

#include "FuzzTarget.h"
#include "video/DvdAuthor.h"

VELMORA_FUZZ_TARGET(authoring_dest)
{
    const auto dest = MediaLibrary::Video::AuthoringDestination(input);
    if (!dest) return;
    const std::string& text = dest->native();
    FUZZ_CHECK(!text.empty());
    FUZZ_CHECK(input.find("<dvdauthor") != std::string_view::npos && input.find("dest") != std::string_view::npos);
    // Without entities the dest is the attribute's text as it stands.
    if (input.find('&') == std::string_view::npos) FUZZ_CHECK(input.find(text) != std::string_view::npos);
    FUZZ_CHECK(text.size() <= input.size());
}
