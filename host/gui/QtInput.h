#pragma once
#include <Qt>

namespace tov {

// Qt's mouse buttons, modifiers and keys as forms take them: the platform's
// button (1 left, 2 right, 4 middle), shift mask (1 Shift, 2 Ctrl, 4 Alt)
// and key codes.
int PlatformButton(Qt::MouseButton button);
int PlatformShift(Qt::KeyboardModifiers modifiers);
// The key code of a Qt key; 0 for a key without one.
int PlatformKeyCode(int qtKey);

} // namespace tov
