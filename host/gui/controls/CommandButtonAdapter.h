#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A command button; a click goes to the form.
class CommandButtonAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
};

} // namespace tov
