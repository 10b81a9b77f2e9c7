#pragma once
#include <string>

namespace tov {

// The events a control raises. A page wires handlers for the ones it cares
// about with Form::On; events without a handler are dropped.
enum class EventKind {
  Click,
  DblClick,
  Change,
  KeyDown,
  KeyPress,
  KeyUp,
  MouseDown,
  MouseUp,
  GotFocus,
  LostFocus,
  ItemCheck,       // list view item check box; Index is the item (1-based)
  ItemClick,       // list view item; Index is the item (1-based)
  ButtonClick,     // toolbar button; Key and Index name the button
  ButtonMenuClick, // toolbar button menu; Key is the menu's key, Index the button
  OnMouseDown,     // map control: Button, Shift, X, Y (pixels), MapX, MapY
};

const char* EventKindName(EventKind kind);

// Arguments of an event. Only the members that the event kind uses are set.
// KeyAscii and KeyCode are in-out: a key press handler that sets KeyAscii to
// 0 swallows the character.
struct EventArgs {
  int Button = 0; // 1 left, 2 right, 4 middle
  int Shift = 0;  // 1 shift, 2 control, 4 alt
  int KeyAscii = 0;
  int KeyCode = 0;
  double X = 0, Y = 0;
  double MapX = 0, MapY = 0;
  long Index = 0;
  std::string Key;
};

} // namespace tov
