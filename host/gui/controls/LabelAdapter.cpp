#include "host/gui/controls/LabelAdapter.h"

#include "host/gui/FormDialog.h"

#include <QLabel>

namespace tov {

QWidget* LabelAdapter::Make(FormDialog& dialog, const ControlPtr&) const {
  auto* w = new QLabel(&dialog);
  w->setWordWrap(true);
  w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return w;
}

void LabelAdapter::Show(Control& c, QWidget& w) const { static_cast<QLabel&>(w).setText(Q(c.Caption())); }

} // namespace tov
