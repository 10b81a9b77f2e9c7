#include "host/gui/controls/ListBoxAdapter.h"

#include "host/gui/FormDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserActions.h"

#include "platform/forms/ListControl.h"

#include <QListWidget>
#include <QStringList>

namespace tov {

QWidget* ListBoxAdapter::Make(FormDialog& dialog, const ControlPtr& control) const {
  auto* w = new QListWidget(&dialog);
  // One line per entry: the view need not measure each of thousands.
  w->setUniformItemSizes(true);
  const std::string name = control->Name();
  Control* c = control.get();
  QObject::connect(w, &QListWidget::itemClicked, &dialog, [&dialog, name, w, c](QListWidgetItem* item) {
    const long index = w->row(item);
    // A click on a chosen entry of a multi-select list takes it out again.
    auto* list = static_cast<ListControl*>(c);
    const bool deselect = list->MultiSelect() != 0 && !item->isSelected() && list->Selected(index);
    dialog.Act([&] {
      if (deselect) UserActions::Deselect(dialog.GetForm(), name, index);
      else UserActions::Select(dialog.GetForm(), name, index);
    });
    dialog.SyncLater(c);
  });
  QObject::connect(w, &QListWidget::itemDoubleClicked, &dialog, [&dialog, name](QListWidgetItem*) {
    dialog.Act([&] { UserActions::DblClick(dialog.GetForm(), name); });
  });
  return w;
}

void ListBoxAdapter::Show(Control& c, QWidget& w) const {
  auto& l = static_cast<QListWidget&>(w);
  auto& list = static_cast<ListControl&>(c);
  // Tens of thousands of entries are shown anew at each key typed in a
  // search box: all at once, then only the selected ones marked.
  l.setUpdatesEnabled(false);
  l.clear();
  l.setSelectionMode(list.MultiSelect() ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
  const long count = list.ListCount();
  QStringList entries;
  entries.reserve(static_cast<qsizetype>(count));
  for (long i = 0; i < count; ++i) entries.append(Q(list.List(i)));
  l.addItems(entries);
  for (long i = 0; i < count; ++i)
    if (list.Selected(i)) l.item(static_cast<int>(i))->setSelected(true);
  if (list.ListIndex() >= 0) l.setCurrentRow(static_cast<int>(list.ListIndex()), QItemSelectionModel::NoUpdate);
  l.setUpdatesEnabled(true);
}

} // namespace tov
