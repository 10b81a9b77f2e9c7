#include "host/gui/controls/OptionButtonAdapter.h"

#include "host/gui/FormDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserActions.h"

#include <QRadioButton>

namespace tov {

QWidget* OptionButtonAdapter::Make(FormDialog& dialog, const ControlPtr& control) const {
  auto* w = new QRadioButton(&dialog);
  // The form keeps its groups; Qt's own exclusivity would get ahead of it.
  w->setAutoExclusive(false);
  const std::string name = control->Name();
  QObject::connect(w, &QRadioButton::clicked, &dialog, [&dialog, name] {
    dialog.Act([&] { UserActions::Click(dialog.GetForm(), name); });
    dialog.SyncAll();
  });
  return w;
}

void OptionButtonAdapter::Show(Control& c, QWidget& w) const {
  auto& b = static_cast<QRadioButton&>(w);
  b.setText(Q(c.Caption()));
  b.setChecked(c.Value() != 0);
}

} // namespace tov
