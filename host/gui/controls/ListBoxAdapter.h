#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A list box, single or multi-select; a click selects the entry in the form, a
// double click is the form's DblClick.
class ListBoxAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
  bool Rebuilds() const override { return true; }
};

} // namespace tov
