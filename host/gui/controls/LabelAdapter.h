#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A label: word-wrapped text, top left.
class LabelAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
};

} // namespace tov
