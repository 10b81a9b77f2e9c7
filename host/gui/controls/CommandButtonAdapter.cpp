#include "host/gui/controls/CommandButtonAdapter.h"

#include "host/gui/FormDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserActions.h"

#include <QPushButton>

namespace tov {

QWidget* CommandButtonAdapter::Make(FormDialog& dialog, const ControlPtr& control) const {
  auto* w = new QPushButton(&dialog);
  // A button the keyboard is on takes Enter; elsewhere the dialog's default
  // button does (FormKeyboard).
  w->setAutoDefault(true);
  const std::string name = control->Name();
  QObject::connect(w, &QPushButton::clicked, &dialog,
                   [&dialog, name] { dialog.Act([&] { UserActions::Click(dialog.GetForm(), name); }); });
  return w;
}

void CommandButtonAdapter::Show(Control& c, QWidget& w) const {
  static_cast<QPushButton&>(w).setText(Q(c.Caption()));
}

} // namespace tov
