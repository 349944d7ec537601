#pragma once

#include "drives/CdDevice.h"
#include "drives/CdToc.h"

#include <memory>
#include <string>

namespace MediaLibrary::Audio {

using velmora::platform::CDROM_TOC;
using velmora::platform::CdDevice;

// The drive of the letter, opened; none when it cannot be, and problem says why, in words.
std::unique_ptr<CdDevice> OpenDevice(char letter, std::string* problem = nullptr);

// Opens the drive of the letter, locks its tray and reads its table of contents; none when any
// step fails (the tray is then unlocked again), and problem says why.
std::unique_ptr<CdDevice> OpenLockedDrive(char letter, CDROM_TOC& toc, std::string* problem = nullptr);

}  // namespace MediaLibrary::Audio

namespace CDDB {

// A drive held open, tray locked, with the disc's table of contents, for the disc id.
class CCDTrack {
public:
    explicit CCDTrack(char driveLetter);
    virtual ~CCDTrack();
    CCDTrack(const CCDTrack&) = delete;
    CCDTrack& operator=(const CCDTrack&) = delete;

    // Opens and locks the drive and reads the TOC; the drive stays open and locked until released.
    bool OpenDrive();
    void ReleaseDrive();
    // Whether a readable disc is in the drive, asked on a handle of its own.
    bool CheckMediaReady();
    // OpenDrive and CheckMediaReady, each failure told to the user in a message box.
    bool OpenAndVerify();
    // The disc part of a CDDB query; throws std::runtime_error without a table of contents.
    std::string BuildQueryString() const;

    char DriveLetter() const { return m_driveLetter; }
    bool TocValid() const { return m_tocValid; }
    const MediaLibrary::Audio::CDROM_TOC& Toc() const { return m_toc; }
    // The opened drive; none before OpenDrive.
    MediaLibrary::Audio::CdDevice* Device() const { return m_device.get(); }

private:
    char m_driveLetter;
    std::unique_ptr<MediaLibrary::Audio::CdDevice> m_device;
    bool m_tocValid = false;
    MediaLibrary::Audio::CDROM_TOC m_toc{};
};

}  // namespace CDDB
