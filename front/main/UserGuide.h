#pragma once

#include <QString>

namespace velmora::front {

// The user guide, Help.pdf: beside the program (as built) or in the data folder of an
// installation (share/velmora beside the program's bin folder). Empty when it is in neither.
QString FindUserGuide(const QString& programFolder);

}  // namespace velmora::front
