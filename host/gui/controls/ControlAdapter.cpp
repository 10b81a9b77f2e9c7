#include "host/gui/controls/ControlAdapter.h"

#include "host/gui/controls/CheckBoxAdapter.h"
#include "host/gui/controls/ComboBoxAdapter.h"
#include "host/gui/controls/CommandButtonAdapter.h"
#include "host/gui/controls/FrameAdapter.h"
#include "host/gui/controls/ImageAdapter.h"
#include "host/gui/controls/LabelAdapter.h"
#include "host/gui/controls/ListBoxAdapter.h"
#include "host/gui/controls/ListViewAdapter.h"
#include "host/gui/controls/MapControlAdapter.h"
#include "host/gui/controls/OptionButtonAdapter.h"
#include "host/gui/controls/TabStripAdapter.h"
#include "host/gui/controls/TextBoxAdapter.h"
#include "host/gui/controls/ToolbarAdapter.h"

namespace tov {

const ControlAdapter* ControlAdapter::For(ControlKind kind) {
  static const LabelAdapter label;
  static const TextBoxAdapter textBox;
  static const CommandButtonAdapter commandButton;
  static const OptionButtonAdapter optionButton;
  static const CheckBoxAdapter checkBox;
  static const ListBoxAdapter listBox;
  static const ComboBoxAdapter comboBox;
  static const FrameAdapter frame;
  static const ImageAdapter image;
  static const ToolbarAdapter toolbar;
  static const ListViewAdapter listView;
  static const TabStripAdapter tabStrip;
  static const MapControlAdapter mapControl;
  switch (kind) {
  case ControlKind::Label: return &label;
  case ControlKind::TextBox: return &textBox;
  case ControlKind::CommandButton: return &commandButton;
  case ControlKind::OptionButton: return &optionButton;
  case ControlKind::CheckBox: return &checkBox;
  case ControlKind::ListBox: return &listBox;
  case ControlKind::ComboBox: return &comboBox;
  case ControlKind::Frame: return &frame;
  case ControlKind::Image: return &image;
  case ControlKind::Toolbar: return &toolbar;
  case ControlKind::ListView: return &listView;
  case ControlKind::TabStrip: return &tabStrip;
  case ControlKind::MapControl: return &mapControl;
  case ControlKind::ImageList: return nullptr;
  }
  return nullptr;
}

} // namespace tov
