#include "DiscCopy.h"

#include "DataTrackReader.h"
#include "drives/DriveTable.h"
#include "log/Log.h"

#include <cdio/cdio.h>

namespace velmora::discburn {

std::optional<platform::Drive> CopyDrive(std::string_view root)
{
    const auto table = platform::DriveTable::Load();
    const platform::Drive* drive = table.FindByPath(root);
    return drive ? std::optional(*drive) : std::nullopt;
}

CopySource CopySourceOf(const platform::Drive& drive)
{
    if (drive.kind == platform::DriveKind::Folder) {
        std::error_code error;
        return std::filesystem::directory_iterator(drive.source, error) != std::filesystem::directory_iterator()
                   ? CopySource::DataDisc
                   : CopySource::NoMedia;
    }
    if (!platform::AudioTracksOf(drive).empty()) return CopySource::AudioCd;
    std::string problem;
    return DataTrackReader::Open(drive, problem) ? CopySource::DataDisc : CopySource::NoMedia;
}

void EjectSource(const platform::Drive& drive)
{
    if (drive.kind != platform::DriveKind::OpticalDevice) return;
    if (cdio_eject_media_drive(drive.source.c_str()) != DRIVER_OP_SUCCESS)
        LogMessage(1, "The disc in %s did not come out", drive.source.c_str());
}

}  // namespace velmora::discburn
