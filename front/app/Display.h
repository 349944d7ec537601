#pragma once

namespace velmora::front {

// A window can be shown: an X11 or Wayland display is named, or a Qt platform is chosen explicitly.
bool DisplayAvailable();

}  // namespace velmora::front
