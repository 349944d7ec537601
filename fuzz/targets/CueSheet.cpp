// Disc images come from anywhere, and libcdio's cue reader trusts what it reads: whatever the
// check lets through must be a sheet libcdio reads into tracks numbered 1 up, in order, within
// the data file.

#include "FuzzTarget.h"
#include "drives/CueSheet.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kSector = 2352;

// A folder of this process for the image files, emptied at exit.
const fs::path& ImageFolder()
{
    static const struct Folder {
        fs::path path = fs::temp_directory_path() / ("velmora-fuzz-cue-" + std::to_string(::getpid()));
        Folder() { fs::create_directories(path); }
        ~Folder()
        {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    } folder;
    return folder.path;
}

struct CdioCloser {
    void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};

// What libcdio makes of the image: its tracks must be what the check promised.
void ExpectLibcdioReadsIt(std::string_view sheet, std::uint64_t dataBytes)
{
    const fs::path cue = ImageFolder() / "disc.cue";
    std::ofstream(cue, std::ios::binary | std::ios::trunc).write(sheet.data(), static_cast<std::streamsize>(sheet.size()));
    const fs::path data = ImageFolder() / "disc.bin";
    std::ofstream(data, std::ios::binary | std::ios::trunc).flush();
    fs::resize_file(data, dataBytes);   // sparse: no sector is read
    const std::unique_ptr<CdIo_t, CdioCloser> cdio(cdio_open_cue(cue.c_str()));
    FUZZ_CHECK(cdio != nullptr);
    const track_t first = cdio_get_first_track_num(cdio.get());
    const track_t count = cdio_get_num_tracks(cdio.get());
    FUZZ_CHECK(first == 1 && count >= 1 && count <= 99);
    const lsn_t end = static_cast<lsn_t>(dataBytes / kSector);
    lsn_t previous = -1;
    for (track_t track = first; track < first + count; ++track) {
        const lsn_t start = cdio_get_track_lsn(cdio.get(), track);
        FUZZ_CHECK(start > previous && start < end);
        previous = start;
    }
}

}  // namespace

VELMORA_FUZZ_TARGET(cue_sheet)
{
    static const bool quiet = (cdio_loglevel_default = CDIO_LOG_ASSERT, true);
    (void)quiet;
    // One to eighty minutes of data, whichever the input's length gives.
    const std::uint64_t dataBytes = kSector * 75 * 60 * (1 + input.size() % 80);
    if (!velmora::platform::CheckCueSheet(input, "disc.bin", dataBytes).empty()) return;
    FUZZ_CHECK(input.size() <= velmora::platform::kCueSheetLimit);
    ExpectLibcdioReadsIt(input, dataBytes);
}
