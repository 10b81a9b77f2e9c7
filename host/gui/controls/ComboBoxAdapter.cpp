#include "host/gui/controls/ComboBoxAdapter.h"

#include "host/gui/FormDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserActions.h"

#include "platform/forms/ListControl.h"

#include <QComboBox>

namespace tov {

QWidget* ComboBoxAdapter::Make(FormDialog& dialog, const ControlPtr& control) const {
  auto* w = new QComboBox(&dialog);
  const std::string name = control->Name();
  Control* c = control.get();
  QObject::connect(w, QOverload<int>::of(&QComboBox::activated), &dialog, [&dialog, name, c](int index) {
    dialog.Act([&] { UserActions::Select(dialog.GetForm(), name, index); });
    dialog.SyncLater(c);
  });
  return w;
}

void ComboBoxAdapter::Show(Control& c, QWidget& w) const {
  auto& b = static_cast<QComboBox&>(w);
  auto& list = static_cast<ListControl&>(c);
  b.clear();
  for (long i = 0; i < list.ListCount(); ++i) b.addItem(Q(list.List(i)));
  b.setCurrentIndex(static_cast<int>(list.ListIndex()));
}

} // namespace tov
