// The lines of a CDDB answer: response codes and match lines, whose category and disc id go
// into the next request and whose artist and title are shown and printed.

#include "FuzzTarget.h"
#include "cddb/CddbText.h"
#include "cddb/ReadCDDB.h"

#include <algorithm>

namespace {

bool AllOf(std::string_view text, bool (*test)(char))
{
    return std::all_of(text.begin(), text.end(), test);
}

}  // namespace

VELMORA_FUZZ_TARGET(cddb_answer)
{
    for (const auto& line : CDDB::SplitResponseLines(input)) {
        FUZZ_CHECK(!line.empty() && line.front() != '.');
        FUZZ_CHECK(line.find('\n') == std::string::npos);   // one CR goes with the LF; more are text

        const auto code = CDDB::GetResponseCode(line);
        FUZZ_CHECK(code == "-1" || (code.size() == 3 && AllOf(code, [](char c) { return c >= '0' && c <= '9'; })));
        for (const bool withCode : {false, true}) {
            const auto match = CDDB::ParseMatchLine(line, withCode);
            if (!match) continue;
            FUZZ_CHECK(!match->strCategory.empty() &&
                       AllOf(match->strCategory, [](char c) { return c >= 'a' && c <= 'z'; }));
            FUZZ_CHECK(match->strDiscId.size() == 8 && AllOf(match->strDiscId, [](char c) {
                           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
                       }));
            FUZZ_CHECK(velmora::fuzz::IsCleanText(match->strArtist) && velmora::fuzz::IsCleanText(match->strTitle));
        }
    }

    // Cleaning leaves clean text, keeps clean text as it is and never loses a printable character.
    const auto clean = CDDB::CleanText(input);
    FUZZ_CHECK(velmora::fuzz::IsCleanText(clean));
    FUZZ_CHECK(CDDB::CleanText(clean) == clean);
    if (velmora::fuzz::IsCleanText(input)) FUZZ_CHECK(clean == input);
    const auto printable = [](std::string_view text) {
        return std::count_if(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    };
    FUZZ_CHECK(printable(clean) == printable(input));
}
