// The .cda files of a drive: their names ("Track03.cda") name a track, and their bytes may come
// from any file put where a track file is expected. The input is a name, a line end, a record.

#include "FuzzTarget.h"
#include "audio/CdTrackTable.h"
#include "drives/CdaRecord.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameIgnoringCase(std::string_view one, std::string_view other)
{
    return one.size() == other.size() && std::equal(one.begin(), one.end(), other.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

}  // namespace

VELMORA_FUZZ_TARGET(cda_file)
{
    const auto end = input.find('\n');
    const auto name = input.substr(0, end);
    const auto record = end == std::string_view::npos ? std::string_view{} : input.substr(end + 1);

    if (const auto track = velmora::platform::TrackOfCdaFileName(name)) {
        FUZZ_CHECK(*track >= 0 && *track <= 99);
        FUZZ_CHECK(SameIgnoringCase(velmora::platform::CdaFileName(*track), name));
    } else if (name.size() == 11 && std::isdigit(static_cast<unsigned char>(name[5])) &&
               std::isdigit(static_cast<unsigned char>(name[6]))) {
        // Not a name the drive gives its track files.
        const int digits = (name[5] - '0') * 10 + (name[6] - '0');
        FUZZ_CHECK(!SameIgnoringCase(velmora::platform::CdaFileName(digits), name));
    }

    // The track number is the byte at offset 22, when the file reaches it.
    const int number = MediaLibrary::Audio::ReadCdaTrackNumber(velmora::fuzz::InputFile("record.cda", record).c_str());
    FUZZ_CHECK(number == (record.size() > 22 ? static_cast<signed char>(record[22]) : -1));
}
