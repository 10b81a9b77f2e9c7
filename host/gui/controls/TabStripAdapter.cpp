#include "host/gui/controls/TabStripAdapter.h"

#include "host/gui/FormDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserActions.h"

#include "platform/forms/TabStrip.h"

#include <QTabBar>

namespace tov {

QWidget* TabStripAdapter::Make(FormDialog& dialog, const ControlPtr& control) const {
  auto* w = new QTabBar(&dialog);
  const std::string name = control->Name();
  Control* c = control.get();
  QObject::connect(w, &QTabBar::tabBarClicked, &dialog, [&dialog, name, c](int index) {
    dialog.Act([&] { UserActions::SelectTab(dialog.GetForm(), name, index + 1); });
    dialog.Sync(c);
  });
  return w;
}

void TabStripAdapter::Show(Control& c, QWidget& w) const {
  auto& bar = static_cast<QTabBar&>(w);
  auto& ts = static_cast<TabStrip&>(c);
  while (bar.count() > 0) bar.removeTab(0);
  for (long i = 1; i <= ts.TabCount(); ++i) {
    bar.addTab(Q(ts.TabAt(i).Caption));
    bar.setTabToolTip(static_cast<int>(i - 1), Q(ts.TabAt(i).ToolTipText));
  }
  bar.setCurrentIndex(static_cast<int>(ts.SelectedItem()) - 1);
}

} // namespace tov
