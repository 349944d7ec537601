#include "CdDevice.h"

#include "CueSheet.h"

#include <cdio/cdio.h>
#include <cdio/mmc_cmds.h>
#include <cdio/util.h>

#include <string>

namespace velmora::platform {
namespace {

CdIo_t* OpenSource(const Drive& drive, std::string& problem)
{
    switch (drive.kind) {
    case DriveKind::OpticalDevice:
        return cdio_open(drive.source.c_str(), DRIVER_DEVICE);
    case DriveKind::DiscImage:
        problem = CheckDiscImage(drive.source);
        if (!problem.empty()) {
            problem = "the disc image " + drive.source.string() + " cannot be used: " + problem;
            return nullptr;
        }
        return cdio_open_cue(drive.source.c_str());
    case DriveKind::Folder:
    case DriveKind::IsoImage:   // read as a file: libcdio has no reader for bare ISO images
        break;
    }
    return nullptr;
}

bool FillEntry(CdIo_t* cdio, track_t track, TRACK_DATA& entry)
{
    msf_t msf{};
    if (!cdio_get_track_msf(cdio, track, &msf)) return false;
    entry = TRACK_DATA{};
    entry.Adr = 1;
    entry.TrackNumber = track;
    if (track != CDIO_CDROM_LEADOUT_TRACK && cdio_get_track_format(cdio, track) != TRACK_FORMAT_AUDIO)
        entry.Control = kDataTrackControl;
    entry.Address[1] = cdio_from_bcd8(msf.m);
    entry.Address[2] = cdio_from_bcd8(msf.s);
    entry.Address[3] = cdio_from_bcd8(msf.f);
    return true;
}

}  // namespace

std::unique_ptr<CdDevice> CdDevice::Open(const Drive& drive, std::string* problem)
{
    std::string why;
    CdIo_t* cdio = OpenSource(drive, why);
    if (problem) *problem = std::move(why);
    if (!cdio) return nullptr;
    return std::unique_ptr<CdDevice>(new CdDevice(cdio, drive.kind == DriveKind::DiscImage));
}

CdDevice::CdDevice(CdIo_t* cdio, bool image) : cdio_(cdio), image_(image)
{
}

CdDevice::~CdDevice()
{
    UnlockTray();
    cdio_destroy(cdio_);
}

bool CdDevice::LockTray()
{
    if (image_) return true;
    locked_ = mmc_prevent_allow_medium_removal(cdio_, false, true, 0) == DRIVER_OP_SUCCESS;
    return locked_;
}

void CdDevice::UnlockTray()
{
    if (!locked_) return;
    mmc_prevent_allow_medium_removal(cdio_, false, false, 0);
    locked_ = false;
}

bool CdDevice::ReadToc(CDROM_TOC& toc) const
{
    toc = CDROM_TOC{};
    const track_t first = cdio_get_first_track_num(cdio_);
    const track_t last = cdio_get_last_track_num(cdio_);
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK || first == 0 || last < first) return false;
    const int count = last - first + 1;
    if (count >= static_cast<int>(std::size(toc.TrackData))) return false;
    for (int at = 0; at < count; ++at)
        if (!FillEntry(cdio_, static_cast<track_t>(first + at), toc.TrackData[at])) return false;
    if (!FillEntry(cdio_, CDIO_CDROM_LEADOUT_TRACK, toc.TrackData[count])) return false;
    toc.TrackData[count].TrackNumber = kLeadOutTrack;
    toc.FirstTrack = first;
    toc.LastTrack = last;
    const unsigned length = 2 + (count + 1) * sizeof(TRACK_DATA);
    toc.Length[0] = static_cast<unsigned char>(length >> 8);
    toc.Length[1] = static_cast<unsigned char>(length & 0xFF);
    return true;
}

bool CdDevice::IsReady() const
{
    if (image_) return cdio_get_num_tracks(cdio_) != CDIO_INVALID_TRACK;
    return mmc_test_unit_ready(cdio_, 0) == DRIVER_OP_SUCCESS;
}

}  // namespace velmora::platform
