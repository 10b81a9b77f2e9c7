#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A list view: a tree without branches, one row per item (items counted from
// 1), with check boxes when the control has them.
class ListViewAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
  bool Rebuilds() const override { return true; }
};

} // namespace tov
