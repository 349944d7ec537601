#pragma once

#include "mastering/BurnResult.h"
#include "mastering/BurnWindow.h"
#include "image/ImageStream.h"
#include "recorders/RecorderDevice.h"
#include "verify/ReadBack.h"

#include <filesystem>
#include <string>

namespace velmora::discburn {

// Writes data images: onto the disc in a recorder, or into an .iso file.
class CDiscFormatData {
public:
    bool Initialize(CRecorderDevice* recorder, const std::string& clientName, bool skipMediaCheck);
    bool IsBlankMedia();
    // False only when the write could not start; its outcome is in hr and errorText.
    bool Write(ImageStream* image, BurnWindow* window);
    // Reads what the last Write put on the media back and compares it with what was written; false
    // when there is nothing to verify. The outcome is in hr and errorText.
    bool Verify(BurnWindow* window);
    // True once the whole image is in place at the path; a cancelled or failed copy leaves no file.
    bool CreateISO(ImageStream* image, BurnWindow* window, const std::filesystem::path& path);

    HResult hr = kOk;
    std::string errorText;
    BurnWindow* notifyWindow = nullptr;
    bool closeMedia = true;

private:
    bool WriteToFile(ImageStream& image, const std::filesystem::path& target);
    HResult WriteImage(ImageStream& image, BurnWindow& window);

    CRecorderDevice* recorder_ = nullptr;
    std::vector<TrackOnMedia> written_;
};

}  // namespace velmora::discburn
