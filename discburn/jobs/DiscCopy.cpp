#include "DiscCopy.h"

#include "drives/DriveTable.h"

namespace velmora::discburn {

CopySource DiscCopyEntries(const std::string& driveRoot, std::vector<ImageEntry>& entries)
{
    const auto drives = platform::DriveTable::Load();
    if (!drives.FindFiles(driveRoot + "*.cda").empty()) return CopySource::AudioCd;
    // The files are read where the disc is mounted, not through the device.
    const auto folder = drives.FilesFolder(driveRoot);
    const auto names = drives.FindFiles(driveRoot + "*");
    if (!folder || names.empty()) return CopySource::NoMedia;
    for (const auto& name : names) {
        if (name == "." || name == "..") continue;
        const auto found = *folder / name;
        std::error_code error;
        entries.push_back({found, std::filesystem::is_directory(found, error)});
    }
    return CopySource::DataDisc;
}

}  // namespace velmora::discburn
