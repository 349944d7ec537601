#include "DiscCopy.h"

#include "drives/DriveTable.h"

namespace velmora::discburn {

CopySource DiscCopyEntries(const std::string& driveRoot, std::vector<ImageEntry>& entries)
{
    const auto drives = platform::DriveTable::Load();
    if (!drives.FindFiles(driveRoot + "*.cda").empty()) return CopySource::AudioCd;
    const platform::Drive* drive = drives.FindByPath(driveRoot);
    const auto names = drives.FindFiles(driveRoot + "*");
    if (!drive || names.empty()) return CopySource::NoMedia;
    for (const auto& name : names) {
        if (name == "." || name == "..") continue;
        const auto found = drive->source / name;
        std::error_code error;
        entries.push_back({found, std::filesystem::is_directory(found, error)});
    }
    return CopySource::DataDisc;
}

}  // namespace velmora::discburn
