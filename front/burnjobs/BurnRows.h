#pragma once

#include "mastering/BurnResult.h"

#include <QString>

namespace velmora::front {

// The status line for a job's result: the text, with the code when it failed.
QString ResultStatusText(discburn::HResult hr, const QString& text);

}  // namespace velmora::front
