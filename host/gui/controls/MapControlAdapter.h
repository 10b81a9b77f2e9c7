#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A map control: a map canvas on the control's map object (made here when the
// page has none yet); a mouse down goes to the form with pixel and map
// coordinates.
class MapControlAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
};

} // namespace tov
