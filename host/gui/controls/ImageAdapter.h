#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// An image: the picture file the control names.
class ImageAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
};

} // namespace tov
