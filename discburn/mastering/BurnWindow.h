#pragma once

#include "BurnResult.h"

#include <cstdint>
#include <string>

namespace velmora::discburn {

// Actions a data write reports, as the window's status table knows them.
enum DataWriteAction : int {
    kValidatingMedia = 0,
    kFormattingMedia = 1,
    kInitializingHardware = 2,
    kCalibratingPower = 3,
    kWritingData = 4,
    kFinalization = 5,
    kCompleted = 6,
    kVerifying = 7,   // reading the written data back
    kReadingDisc = 8, // copying the data disc to be copied
};

// Actions an audio (track-at-once) write reports.
enum AudioWriteAction : int {
    kAudioUnknown = 0,
    kAudioPreparing = 1,
    kAudioWriting = 2,
    kAudioFinishing = 3,
    kAudioVerifying = 4,
    kAudioReading = 5,   // ripping a track of the audio CD to be copied
};

struct WriteProgress {
    int action = kValidatingMedia;
    int track = 0;        // audio: the track being written, from 1; 0 for data
    int trackCount = 0;
    std::uint64_t bytesDone = 0;    // written, or read back while verifying; 0 of 0 while unknown
    std::uint64_t bytesTotal = 0;
    int secondsLeft = -1;           // -1 while unknown
};

// The window the writers and image builders report to. Calls come from the burn thread and
// return only when the window has handled them.
class BurnWindow {
public:
    static constexpr int kInitializingRecorderRow = 59;  // "Initializing Disc Recorder..."
    static constexpr int kCreatingIsoImageRow = 61;      // "Creating ISO Image"
    static constexpr int kFinalizingImageRow = 62;       // "Finalizing Image"
    static constexpr int kWritingIsoImageRow = 63;       // "Writing ISO Image to Disk"
    static constexpr int kBurnCompletedRow = 67;         // "Burn completed successfully!"
    static constexpr int kCreatingFileSystemRow = 68;    // "Creating File System..."
    static constexpr int kMediaNotWritableRow = 83;      // "Inserted Media is not writable. ..."
    static constexpr int kBurnProgressRow = 92;          // "%1 of %2 MB written"
    static constexpr int kTimeLeftRow = 93;              // "%1 left"
    static constexpr int kBurnVerifiedRow = 102;         // "Burn completed and verified!"
    static constexpr int kVerifyingRow = 103;            // "Verifying..."
    static constexpr int kCheckedRow = 104;              // "%1 of %2 MB checked"
    static constexpr int kReadRow = 105;                 // "%1 of %2 MB read"

    virtual ~BurnWindow() = default;
    // The current action; the reply 1 lets the write go on, 0 cancels it.
    virtual int SendProgress(const WriteProgress& progress) = 0;
    virtual void SendStatus(const std::string& text) = 0;
    virtual void SendResult(HResult hr, const std::string& text) = 0;
    virtual bool IsCancelRequested() = 0;
    // The volume name of every image made by this job, "2009_11_18".
    virtual std::string DateStamp() = 0;
    virtual std::string UiText(int row) = 0;
    // Tells the user of a problem that stops the job, in the UI text of the row.
    virtual void ShowError(int row) = 0;
};

}  // namespace velmora::discburn
