#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A toolbar: one action per visible button (check and group buttons
// checkable); a press goes to the form.
class ToolbarAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
  bool Rebuilds() const override { return true; }
};

} // namespace tov
