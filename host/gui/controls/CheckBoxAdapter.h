#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A check box: unchecked, checked or greyed (value 2).
class CheckBoxAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
};

} // namespace tov
