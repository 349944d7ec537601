// A CDDB entry comes from a server on the network: it must fill the records within their
// fields, with clean text only.

#include "FuzzTarget.h"
#include "cddb/CdEntry.h"
#include "cddb/ReadCDDB.h"

#include <cstring>

VELMORA_FUZZ_TARGET(cddb_entry)
{
    auto lines = CDDB::SplitResponseLines(input);
    if (!lines.empty()) lines.front().clear();   // the code line, as a read answer has it
    MediaLibrary::Header::CD_TEXT_INFO tracks[3];
    const CDDB::CCdEntry entry(tracks, 3, lines);
    for (const auto& track : tracks) {
        FUZZ_CHECK(velmora::fuzz::IsTerminated(track.szTitle) && velmora::fuzz::IsTerminated(track.szArtist));
        FUZZ_CHECK(velmora::fuzz::IsCleanText(track.szTitle) && velmora::fuzz::IsCleanText(track.szArtist));
        // The artist is the entry's, cut to fit.
        FUZZ_CHECK(entry.Artist().starts_with(track.szArtist));
        FUZZ_CHECK(std::strcmp(track.szArtist, tracks[0].szArtist) == 0);
    }
    FUZZ_CHECK(velmora::fuzz::IsCleanText(entry.Artist()) && velmora::fuzz::IsCleanText(entry.DiscTitle()));
}
