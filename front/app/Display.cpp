#include "Display.h"

#include <cstdlib>

namespace velmora::front {
namespace {
bool Named(const char* variable)
{
    const char* value = std::getenv(variable);
    return value && *value;
}
}  // namespace

bool DisplayAvailable()
{
    return Named("DISPLAY") || Named("WAYLAND_DISPLAY") || Named("QT_QPA_PLATFORM");
}

}  // namespace velmora::front
