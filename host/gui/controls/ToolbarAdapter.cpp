#include "host/gui/controls/ToolbarAdapter.h"

#include "host/gui/FormDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserActions.h"

#include "platform/forms/Toolbar.h"

#include <QAction>
#include <QToolBar>

namespace tov {

QWidget* ToolbarAdapter::Make(FormDialog& dialog, const ControlPtr&) const {
  auto* w = new QToolBar(&dialog);
  w->setToolButtonStyle(Qt::ToolButtonTextOnly);
  return w;
}

void ToolbarAdapter::Show(Control& c, QWidget& w) const {
  auto& bar = static_cast<QToolBar&>(w);
  auto& tb = static_cast<Toolbar&>(c);
  auto* dialog = dynamic_cast<FormDialog*>(bar.parentWidget());
  bar.clear();
  const std::string name = c.Name();
  for (long i = 1; i <= tb.ButtonCount(); ++i) {
    const ToolbarButton& b = tb.Button(i);
    if (!b.Visible) continue;
    if (b.Style == tbr::Separator) {
      bar.addSeparator();
      continue;
    }
    QAction* a = bar.addAction(Q(b.Caption.empty() ? b.Key : b.Caption));
    a->setToolTip(Q(b.ToolTipText));
    a->setEnabled(b.Enabled);
    a->setCheckable(b.Style == tbr::Check || b.Style == tbr::ButtonGroup);
    a->setChecked(b.Value != 0);
    if (!dialog) continue;
    const std::string key = b.Key;
    Control* ctl = &c;
    QObject::connect(a, &QAction::triggered, dialog, [dialog, name, key, ctl] {
      dialog->Act([&] { UserActions::ToolbarButton(dialog->GetForm(), name, key); });
      dialog->SyncLater(ctl);
    });
  }
}

} // namespace tov
