#include "RecorderProbe.h"

#include "log/Log.h"
#include "writers/DiscFormatAudio.h"
#include "writers/DiscFormatData.h"

namespace velmora::discburn {

bool ProbeRecorder(CRecorderDevice& recorder, int mode)
{
    bool initialised = false;
    std::string errorText;
    if (mode == kAudioBurnerMode) {
        CDiscFormatAudio writer;
        initialised = writer.Initialize(&recorder, kClientName);
        errorText = writer.errorText;
    } else {
        CDiscFormatData writer;
        initialised = writer.Initialize(&recorder, kClientName, false);
        errorText = writer.errorText;
    }
    recorder.LetGoOfDrive();
    if (!initialised)
        LogMessage(2, "OnCbnSelchangeComboAcCdrom. Failed to Initialize (%s). ActiveType(%d)", errorText.c_str(), mode);
    return initialised;
}

}  // namespace velmora::discburn
