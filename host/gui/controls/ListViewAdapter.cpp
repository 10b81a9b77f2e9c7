#include "host/gui/controls/ListViewAdapter.h"

#include "host/gui/FormDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserActions.h"

#include "platform/forms/ListView.h"

#include <QTreeWidget>

#include <algorithm>

namespace tov {

QWidget* ListViewAdapter::Make(FormDialog& dialog, const ControlPtr& control) const {
  auto* w = new QTreeWidget(&dialog);
  w->setRootIsDecorated(false);
  const std::string name = control->Name();
  Control* c = control.get();
  QObject::connect(w, &QTreeWidget::itemChanged, &dialog, [&dialog, name, w, c](QTreeWidgetItem* item, int) {
    const long index = w->indexOfTopLevelItem(item) + 1;
    dialog.Act([&] { UserActions::CheckItem(dialog.GetForm(), name, index); });
    dialog.SyncLater(c);
  });
  QObject::connect(w, &QTreeWidget::itemClicked, &dialog, [&dialog, name, w](QTreeWidgetItem* item, int) {
    const long index = w->indexOfTopLevelItem(item) + 1;
    dialog.Act([&] { UserActions::ClickItem(dialog.GetForm(), name, index); });
  });
  return w;
}

void ListViewAdapter::Show(Control& c, QWidget& w) const {
  auto& t = static_cast<QTreeWidget&>(w);
  auto& lv = static_cast<ListView&>(c);
  t.clear();
  QStringList headers;
  for (long i = 1; i <= lv.ColumnCount(); ++i) headers << Q(lv.Column(i).Text);
  t.setColumnCount(std::max<int>(1, headers.size()));
  t.setHeaderLabels(headers);
  t.setHeaderHidden(headers.isEmpty());
  for (long i = 1; i <= lv.ColumnCount(); ++i)
    t.setColumnWidth(static_cast<int>(i - 1), FormDialog::Px(lv.Column(i).Width));
  for (long i = 1; i <= lv.ItemCount(); ++i) {
    const ListItem& item = lv.Item(i);
    auto* row = new QTreeWidgetItem(&t);
    row->setText(0, Q(item.Text));
    for (size_t s = 0; s < item.SubItems.size(); ++s) row->setText(static_cast<int>(s + 1), Q(item.SubItems[s]));
    row->setToolTip(0, Q(item.ToolTipText));
    if (lv.Checkboxes()) row->setCheckState(0, item.Checked ? Qt::Checked : Qt::Unchecked);
    row->setSelected(item.Selected);
  }
}

} // namespace tov
