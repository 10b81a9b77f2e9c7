#include "host/gui/controls/CheckBoxAdapter.h"

#include "host/gui/FormDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserActions.h"

#include <QCheckBox>

namespace tov {

QWidget* CheckBoxAdapter::Make(FormDialog& dialog, const ControlPtr& control) const {
  auto* w = new QCheckBox(&dialog);
  const std::string name = control->Name();
  Control* c = control.get();
  QObject::connect(w, &QCheckBox::clicked, &dialog, [&dialog, name, c] {
    dialog.Act([&] { UserActions::Click(dialog.GetForm(), name); });
    dialog.Sync(c);
  });
  return w;
}

void CheckBoxAdapter::Show(Control& c, QWidget& w) const {
  auto& b = static_cast<QCheckBox&>(w);
  b.setText(Q(c.Caption()));
  b.setTristate(c.Value() == 2);
  b.setCheckState(c.Value() == 1 ? Qt::Checked : c.Value() == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

} // namespace tov
