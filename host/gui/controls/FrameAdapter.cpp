#include "host/gui/controls/FrameAdapter.h"

#include "host/gui/FormDialog.h"

#include <QGroupBox>

namespace tov {

QWidget* FrameAdapter::Make(FormDialog& dialog, const ControlPtr&) const { return new QGroupBox(&dialog); }

void FrameAdapter::Show(Control& c, QWidget& w) const {
  auto& g = static_cast<QGroupBox&>(w);
  g.setTitle(Q(c.Caption()));
  g.setFlat(c.Caption().empty() && c.Height() < 100);
}

} // namespace tov
