#pragma once

#include "CdToc.h"
#include "Drive.h"

#include <memory>
#include <string>

typedef struct _CdIo CdIo_t;

namespace velmora::platform {

// An opened optical drive or disc image. The tray is unlocked again when the object goes.
class CdDevice {
public:
    // None when there is no disc or drive behind it (a folder drive has no device either); for a
    // disc image that fails its checks, problem says why, in words.
    static std::unique_ptr<CdDevice> Open(const Drive& drive, std::string* problem = nullptr);
    ~CdDevice();
    CdDevice(const CdDevice&) = delete;
    CdDevice& operator=(const CdDevice&) = delete;

    // Prevents or allows removal of the disc; images have no tray, so both always succeed there.
    bool LockTray();
    void UnlockTray();
    // The table of contents in MSF form; false when there is no readable disc.
    bool ReadToc(CDROM_TOC& toc) const;
    bool IsReady() const;
    bool IsImage() const { return image_; }
    // For readers that work on the libcdio handle itself; the device keeps ownership.
    CdIo_t* Native() const { return cdio_; }

private:
    CdDevice(CdIo_t* cdio, bool image);

    CdIo_t* cdio_;
    bool image_;
    bool locked_ = false;
};

}  // namespace velmora::platform
