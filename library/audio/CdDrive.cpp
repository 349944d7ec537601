#include "CdDrive.h"

#include "cddb/DiscId.h"
#include "interface/MessageBox.h"
#include "drives/DriveTable.h"

#include <cstdio>

namespace MediaLibrary::Audio {
namespace {

std::unique_ptr<CdDevice> Refused(std::string* problem, std::string reason)
{
    if (problem) *problem = std::move(reason);
    return nullptr;
}

}  // namespace

std::unique_ptr<CdDevice> OpenDevice(char letter, std::string* problem)
{
    const std::string name{letter, ':'};
    const auto table = velmora::platform::DriveTable::Load();
    const auto* drive = table.Find(letter);
    if (!drive) return Refused(problem, "there is no drive " + name);
    std::string why;
    auto device = CdDevice::Open(*drive, &why);
    if (!device) return Refused(problem, why.empty() ? "drive " + name + " holds no disc that can be read" : why);
    return device;
}

std::unique_ptr<CdDevice> OpenLockedDrive(char letter, CDROM_TOC& toc, std::string* problem)
{
    auto device = OpenDevice(letter, problem);
    if (!device) return nullptr;
    const std::string name{letter, ':'};
    if (!device->LockTray()) return Refused(problem, "the tray of drive " + name + " cannot be locked");
    if (!device->ReadToc(toc)) return Refused(problem, "the disc in drive " + name + " has no table of contents");
    return device;
}

}  // namespace MediaLibrary::Audio

namespace CDDB {
namespace {

void ShowDriveError(const char* format, char letter)
{
    char text[96];
    std::snprintf(text, sizeof text, format, letter);
    MediaLibrary::ShowMessageBox(text, "Error Message");
}

}  // namespace

CCDTrack::CCDTrack(char driveLetter) : m_driveLetter(driveLetter)
{
}

CCDTrack::~CCDTrack()
{
    ReleaseDrive();
}

bool CCDTrack::OpenDrive()
{
    ReleaseDrive();
    m_device = MediaLibrary::Audio::OpenLockedDrive(m_driveLetter, m_toc);
    m_tocValid = m_device != nullptr;
    return m_tocValid;
}

void CCDTrack::ReleaseDrive()
{
    m_device.reset();
}

bool CCDTrack::CheckMediaReady()
{
    if (!m_driveLetter) return m_device && m_device->IsReady();
    const auto check = MediaLibrary::Audio::OpenDevice(m_driveLetter);
    return check && check->IsReady();
}

bool CCDTrack::OpenAndVerify()
{
    if (!OpenDrive()) {
        ShowDriveError("Unable to access CD Drive: %c", m_driveLetter);
        return false;
    }
    if (!CheckMediaReady()) {
        ShowDriveError("CD Drive is not ready. Please check drive: %c", m_driveLetter);
        return false;
    }
    return true;
}

std::string CCDTrack::BuildQueryString() const
{
    // Throws for a disc without tracks.
    return QueryString(m_tocValid ? TocAddresses(m_toc) : std::vector<MsfAddress>{});
}

}  // namespace CDDB
