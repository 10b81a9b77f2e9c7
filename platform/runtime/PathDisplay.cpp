#include "platform/runtime/PathDisplay.h"

namespace tov {

namespace {
PathDisplay& Display() {
  static PathDisplay display;
  return display;
}
} // namespace

void SetPathDisplay(PathDisplay display) { Display() = std::move(display); }

std::string ShownPath(const std::string& path) { return Display() ? Display()(path) : path; }

} // namespace tov
