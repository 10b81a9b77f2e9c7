#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A tab strip; tabs counted from 1 in the form.
class TabStripAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
  bool Rebuilds() const override { return true; }
};

} // namespace tov
