#pragma once

#include "burn/BurnWindow.h"

#include <QString>

namespace velmora::front {

// Rows of the UI string table that the burn jobs and the drive selector read.
enum BurnRow : int {
    kRowCancel = 8,
    kRowInitializingRecorder = 59,
    kRowAudioCdCopyMissing = 60,
    kRowCreatingIsoImage = 61,
    kRowFinalizingImage = 62,
    kRowWritingIsoImage = 63,
    kRowBurnCompleted = 67,
    kRowNoMediaFound = 80,
    kRowDriveSelectorTitle = 81,
    kRowInsertBlankMedia = 82,
    kRowMediaNotWritable = 83,
};

// The status line for a write's progress: the action table of data writes, a text per phase and
// track for audio writes. Null when the status line is to stay as it is.
QString ProgressStatusText(const discburn::WriteProgress& progress, bool audio);

// The status line for a job's result: the text, with the code when it failed.
QString ResultStatusText(discburn::HResult hr, const QString& text);

}  // namespace velmora::front
