#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A combo box; picking an entry selects it in the form.
class ComboBoxAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
  bool Rebuilds() const override { return true; }
};

} // namespace tov
