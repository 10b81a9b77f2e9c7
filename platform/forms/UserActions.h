#pragma once
#include "platform/forms/EventArgs.h"
#include "platform/forms/TrackedShape.h"

#include <string>
#include <vector>

namespace tov {

class Form;

// What a user can do to a shown form, as presenters pass it on: each action
// changes the model as the platform's own controls would and raises the same
// events. An action on a control that is missing, hidden or disabled raises
// HostError 5 and changes nothing (a user cannot reach such a control).
namespace UserActions {

// Types characters at the end of a text box: per character a key press (a
// handler may swallow it), the new text with one Change, then a key up.
// "\b" deletes the last character.
void Type(Form& form, const std::string& control, const std::string& text);
// Replaces the whole text at once (paste): one Change.
void SetText(Form& form, const std::string& control, const std::string& text);
// Command button, option button (selects it), check box (toggles), image,
// label, frame, list box (with its current entry), tab strip.
void Click(Form& form, const std::string& control);
void DblClick(Form& form, const std::string& control);
// List box or combo box entry: makes it current and selects it (adding to
// the selection of a multi-select list box), then Click and MouseUp.
void Select(Form& form, const std::string& control, long index);
void Deselect(Form& form, const std::string& control, long index);
// List box: the entries a user picked with the mouse or the keys, as the
// presenter's own list decides them (a click picks one, Ctrl+click toggles,
// Shift+click extends from the anchor): the selection becomes exactly
// selected, current the entry with the focus; Click when that changed
// anything. A single-choice list takes current only.
void Pick(Form& form, const std::string& control, const std::vector<long>& selected, long current);
// A mouse button let go over a control: MouseUp with button and shift.
void MouseUp(Form& form, const std::string& control, int button, int shift = 0);
// Key press (character code) and key up (key code) on a control. KeyPress
// gives back the character the handlers left (0: they swallowed the key).
int KeyPress(Form& form, const std::string& control, int keyAscii);
void KeyUp(Form& form, const std::string& control, int keyCode, int shift = 0);
// Toolbar button by key: value per its style, then ButtonClick.
void ToolbarButton(Form& form, const std::string& control, const std::string& key);
// A button menu entry of a toolbar button: ButtonMenuClick with its key.
void ButtonMenu(Form& form, const std::string& control, const std::string& buttonKey, const std::string& menuKey);
// List view item: check box toggled (ItemCheck) or clicked (ItemClick).
void CheckItem(Form& form, const std::string& control, long index);
void ClickItem(Form& form, const std::string& control, long index);
// Tab strip: selects the tab (Click when it changes).
void SelectTab(Form& form, const std::string& control, long index);
// Mouse down on a map control slot: OnMouseDown with button, shift, pixel
// and map coordinates.
void MapMouseDown(Form& form, const std::string& control, int button, int shift, double x, double y, double mapX,
                  double mapY);

} // namespace UserActions

} // namespace tov
