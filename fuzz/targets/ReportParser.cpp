// Encoder reports are read from files anyone can shape (through the media they describe).

#include "FuzzTarget.h"
#include "video/ReportParser.h"

VELMORA_FUZZ_TARGET(report_parser)
{
    using namespace MediaLibrary::Video;
    const auto facts = ParseReport(input);
    FUZZ_CHECK(facts.width >= 0 && facts.height >= 0 && facts.frameRate >= 0);
    // Every figure is in its sane range, so sums of them cannot overflow.
    FUZZ_CHECK(facts.overallBitRate >= 0 && facts.overallBitRate <= kMostKilobitsPerSecond);
    FUZZ_CHECK(facts.audioBitRate >= 0 && facts.audioBitRate <= kMostKilobitsPerSecond);
    FUZZ_CHECK(facts.sampleRate >= 0 && facts.sampleRate <= kMostHertz);
    FUZZ_CHECK(facts.frameRate <= kMostFramesPerSecond);
    // A size comes whole, from at most six digits a side, and only from a stream.
    FUZZ_CHECK((facts.width > 0) == (facts.height > 0));
    FUZZ_CHECK(facts.width < 1000000 && facts.height < 1000000);
    FUZZ_CHECK(facts.hasStreams || (facts.width == 0 && facts.frameRate == 0 && facts.sampleRate == 0));
    if (facts.duration) {
        FUZZ_CHECK(facts.duration->size() < input.size());
        FUZZ_CHECK(facts.duration->find_first_of(",\n") == std::string::npos);
    }

    for (const auto field : SplitFields(input)) {
        FUZZ_CHECK(!field.empty());
        FUZZ_CHECK(field.data() >= input.data() && field.data() + field.size() <= input.data() + input.size());
    }
    LeadingInteger(input);
}
