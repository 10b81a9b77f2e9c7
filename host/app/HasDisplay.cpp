// Whether a window can be shown: the GUI and the screenshots fall back to the
// offscreen platform without one.
#include "host/app/Commands.h"

#include <cstdlib>

namespace tov {

bool HasDisplay() {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (display && *display) || (wayland && *wayland);
}

} // namespace tov
