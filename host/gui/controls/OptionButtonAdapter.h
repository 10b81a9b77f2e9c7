#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// An option button; the form clears the others of its group, so every widget
// is shown again after a click.
class OptionButtonAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
};

} // namespace tov
