// The drive and recorder lists of the settings or the environment ("X=/disc.cue;Y=/folder",
// "cue:/disc.cue;stdio:/disc.iso"): every entry reads as a drive or recorder, or is left out.

#include "FuzzTarget.h"
#include "drives/DriveTable.h"
#include "recorders/RecorderAddress.h"
#include "text/Trim.h"

namespace {

bool Trimmed(std::string_view text)
{
    return !text.empty() && velmora::platform::Trim(text) == text && text.find(';') == std::string_view::npos;
}

}  // namespace

VELMORA_FUZZ_TARGET(drive_lists)
{
    using velmora::discburn::RecorderAddress;
    using velmora::discburn::RecorderKind;
    const auto table = velmora::platform::DriveTable::FromParts({}, input);
    char previous = 0;
    for (const auto& drive : table.Drives()) {
        FUZZ_CHECK(drive.letter >= 'A' && drive.letter <= 'Z' && drive.letter > previous);
        FUZZ_CHECK(drive.kind != velmora::platform::DriveKind::OpticalDevice && Trimmed(drive.source.native()));
        FUZZ_CHECK(table.FindByPath(drive.Root()) == &drive);
        previous = drive.letter;
    }
    if (const auto letter = velmora::platform::DriveLetterOf(input)) FUZZ_CHECK(*letter >= 'A' && *letter <= 'Z');

    for (const auto& id : velmora::discburn::SplitRecorderList(input)) {
        FUZZ_CHECK(Trimmed(id));
        const auto address = RecorderAddress::Parse(id);
        if (!address) continue;
        FUZZ_CHECK(address->uniqueId == id && address->path.is_absolute());
        FUZZ_CHECK(address->kind == (id.starts_with(RecorderAddress::kImagePrefix) ? RecorderKind::ImageFile
                                     : id.starts_with(RecorderAddress::kCuePrefix) ? RecorderKind::CueImage
                                                                                   : RecorderKind::Drive));
    }
}
