// Commands not written yet. Each moves to its own Command<Name>.cpp when it
// is; delete its stub here then.
#include "host/app/Commands.h"

#include <cstdlib>

namespace tov {


bool HasDisplay() {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (display && *display) || (wayland && *wayland);
}

} // namespace tov
