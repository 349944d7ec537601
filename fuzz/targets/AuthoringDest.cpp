// The dest of an authoring file names the folder whose VIDEO_TS and AUDIO_TS are removed before
// authoring: it must be read as the authoring tool reads it, or not at all.

#include "FuzzTarget.h"
#include "text/XmlText.h"
#include "video/DvdAuthor.h"

#include <algorithm>

VELMORA_FUZZ_TARGET(authoring_dest)
{
    const auto [dest, whyNone] = MediaLibrary::Video::AuthoringDestination(input);
    if (!dest) {
        FUZZ_CHECK(!whyNone.empty());
        return;
    }
    const std::string& text = dest->native();
    FUZZ_CHECK(!text.empty());
    FUZZ_CHECK(input.find("<dvdauthor") != std::string_view::npos && input.find("dest") != std::string_view::npos);
    // Only what XML can carry comes out, and a line end only from a reference.
    FUZZ_CHECK(!velmora::platform::WhyNotXmlText(text));
    if (input.find('&') == std::string_view::npos) {
        // Without entities the dest is the attribute's text as it stands, its tabs and line ends blanks.
        std::string blanked(input);
        std::replace_if(blanked.begin(), blanked.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
        FUZZ_CHECK(text.find_first_of("\t\n") == std::string::npos);
        FUZZ_CHECK(blanked.find(text) != std::string::npos || input.find("\r\n") != std::string_view::npos);
    }
    FUZZ_CHECK(text.size() <= input.size());
}
