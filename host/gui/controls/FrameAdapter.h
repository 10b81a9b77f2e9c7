#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A frame: a group box behind the controls placed on it, or a separator line
// when it has no caption and almost no height.
class FrameAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
};

} // namespace tov
