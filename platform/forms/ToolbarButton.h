#pragma once
#include "platform/runtime/Object.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tov {

// One entry of a toolbar button's drop-down menu.
struct ButtonMenu {
  std::string Key;
  std::string Text;
  bool Enabled = true;
  bool Visible = true;
};

// A toolbar button. Style 0 plain, 1 check (two states), 2 one of a group
// (neighbouring group buttons exclude each other), 3 separator, 5 drop-down.
// Value 1 is pressed, 0 not pressed.
struct ToolbarButton {
  std::string Key;
  std::string Caption;
  std::string ToolTipText;
  int Style = 0;
  int32_t Value = 0;
  bool Enabled = true;
  bool Visible = true;
  std::string Image; // key or 1-based index in the toolbar's image list
  std::vector<ButtonMenu> ButtonMenus;
};

namespace tbr {
constexpr int Default = 0;
constexpr int Check = 1;
constexpr int ButtonGroup = 2;
constexpr int Separator = 3;
constexpr int DropDown = 5;
} // namespace tbr

} // namespace tov
