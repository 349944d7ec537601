// Encoder reports are read from files anyone can shape (through the media they describe).

#include "video/ReportParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view report(reinterpret_cast<const char*>(data), size);
    const auto facts = MediaLibrary::Video::ParseReport(report);
    if (facts.width < 0 || facts.height < 0 || facts.frameRate < 0 || facts.sampleRate < 0 ||
        facts.audioBitRate < 0 || (facts.duration && facts.duration->size() > size))
        std::abort();
    return 0;
}
