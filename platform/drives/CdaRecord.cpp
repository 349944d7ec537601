#include "CdaRecord.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace velmora::platform {
namespace {

void PutLittleEndian(CdaRecord& record, std::size_t at, std::uint32_t value, int bytes)
{
    for (int byte = 0; byte < bytes; ++byte) record[at + byte] = static_cast<unsigned char>(value >> (8 * byte));
}

// Frames, seconds, minutes, 0: the order the record keeps an MSF address in.
void PutMsf(CdaRecord& record, std::size_t at, int frames)
{
    record[at] = static_cast<unsigned char>(frames % kFramesPerSecond);
    record[at + 1] = static_cast<unsigned char>(frames / kFramesPerSecond % 60);
    record[at + 2] = static_cast<unsigned char>(frames / kFramesPerSecond / 60);
    record[at + 3] = 0;
}

}  // namespace

CdaRecord MakeCdaRecord(int trackNumber, int startSector, int lengthSectors)
{
    CdaRecord record{};
    std::memcpy(&record[0], "RIFF", 4);
    PutLittleEndian(record, 4, kCdaRecordSize - 8, 4);
    std::memcpy(&record[8], "CDDA", 4);
    std::memcpy(&record[12], "fmt ", 4);
    PutLittleEndian(record, 16, 24, 4);   // format chunk length
    PutLittleEndian(record, 20, 1, 2);    // record version
    PutLittleEndian(record, 22, static_cast<std::uint32_t>(trackNumber), 2);
    PutLittleEndian(record, 24, 0, 4);    // volume serial: none for a CD
    PutLittleEndian(record, 28, static_cast<std::uint32_t>(startSector), 4);
    PutLittleEndian(record, 32, static_cast<std::uint32_t>(lengthSectors), 4);
    PutMsf(record, 36, startSector + kLeadInFrames);
    PutMsf(record, 40, lengthSectors);
    return record;
}

std::string CdaFileName(int trackNumber)
{
    char name[16];
    std::snprintf(name, sizeof name, "Track%02d.cda", trackNumber);
    return name;
}

std::optional<int> TrackOfCdaFileName(std::string_view name)
{
    constexpr std::string_view kPrefix = "track", kSuffix = ".cda";
    if (name.size() != kPrefix.size() + 2 + kSuffix.size()) return std::nullopt;
    const auto lower = [](std::string_view text) {
        std::string folded(text);
        for (auto& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return folded;
    };
    if (lower(name.substr(0, kPrefix.size())) != kPrefix || lower(name.substr(name.size() - kSuffix.size())) != kSuffix)
        return std::nullopt;
    const char tens = name[kPrefix.size()], ones = name[kPrefix.size() + 1];
    if (!std::isdigit(static_cast<unsigned char>(tens)) || !std::isdigit(static_cast<unsigned char>(ones)))
        return std::nullopt;
    return (tens - '0') * 10 + (ones - '0');
}

}  // namespace velmora::platform
