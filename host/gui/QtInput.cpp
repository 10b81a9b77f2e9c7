#include "host/gui/QtInput.h"

namespace tov {

int PlatformButton(Qt::MouseButton button) {
  switch (button) {
  case Qt::LeftButton: return 1;
  case Qt::RightButton: return 2;
  case Qt::MiddleButton: return 4;
  default: return 0;
  }
}

int PlatformShift(Qt::KeyboardModifiers m) {
  return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0);
}

int PlatformKeyCode(int key) {
  // Letters, digits and the space bar share their codes.
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space)
    return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  switch (key) {
  case Qt::Key_Backspace: return 8;
  case Qt::Key_Tab:
  case Qt::Key_Backtab: return 9;
  case Qt::Key_Return:
  case Qt::Key_Enter: return 13;
  case Qt::Key_Shift: return 16;
  case Qt::Key_Control: return 17;
  case Qt::Key_Alt: return 18;
  case Qt::Key_Escape: return 27;
  case Qt::Key_PageUp: return 33;
  case Qt::Key_PageDown: return 34;
  case Qt::Key_End: return 35;
  case Qt::Key_Home: return 36;
  case Qt::Key_Left: return 37;
  case Qt::Key_Up: return 38;
  case Qt::Key_Right: return 39;
  case Qt::Key_Down: return 40;
  case Qt::Key_Insert: return 45;
  case Qt::Key_Delete: return 46;
  default: return 0;
  }
}

} // namespace tov
