#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A list box. The widget selects as desktop lists do (an extended list: a
// click picks one entry, Ctrl+click toggles, Shift+click extends; a simple
// one: a click toggles) and its pick then becomes the form's selection,
// with Click when it changed and MouseUp for the mouse; a double click is
// the form's DblClick.
class ListBoxAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
  bool Rebuilds() const override { return true; }
};

} // namespace tov
