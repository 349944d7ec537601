#pragma once

#include "core/UiStrings.h"
#include "mastering/BurnWindow.h"

#include <QString>

namespace velmora::front {

// The status line for a write's progress: the action table of data writes, a text per phase and
// track for audio writes. Null when the status line is to stay as it is.
QString ProgressStatusText(const discburn::WriteProgress& progress, bool audio);

// The status line for a job's result: the text, with the code when it failed.
QString ResultStatusText(discburn::HResult hr, const QString& text);

}  // namespace velmora::front
