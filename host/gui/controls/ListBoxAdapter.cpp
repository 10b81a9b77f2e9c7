#include "host/gui/controls/ListBoxAdapter.h"

#include "host/gui/FormDialog.h"
#include "host/gui/QtInput.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/UserActions.h"

#include <QItemSelection>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QStringList>

#include <functional>

namespace tov {

namespace {

// Tells after the list has handled a mouse button let go or a key pressed,
// once its selection is what the user made it.
class ListBoxWidget : public QListWidget {
public:
  using QListWidget::QListWidget;
  std::function<void(QMouseEvent&)> released;
  std::function<void()> keyed;

protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QListWidget::mouseReleaseEvent(event);
    if (released) released(*event);
  }
  void keyPressEvent(QKeyEvent* event) override {
    QListWidget::keyPressEvent(event);
    if (keyed) keyed();
  }
};

QAbstractItemView::SelectionMode ModeOf(int multiSelect) {
  switch (multiSelect) {
  case 0: return QAbstractItemView::SingleSelection;
  case 1: return QAbstractItemView::MultiSelection;
  default: return QAbstractItemView::ExtendedSelection;
  }
}

// Whether the widget's rows are the list's entries: a handler may have
// changed them, and then the widget waits for its rebuild.
bool ShowsEntries(const QListWidget& w, ListControl& list) {
  const long count = list.ListCount();
  if (w.count() != count) return false;
  for (long i = 0; i < count; ++i)
    if (w.item(static_cast<int>(i))->text() != QString::fromStdString(list.List(i))) return false;
  return true;
}

// The widget's selection and focus entry become the form's. A pick on rows
// the form no longer holds means nothing.
void TakePick(FormDialog& dialog, const std::string& name, QListWidget& w, Control* c) {
  auto& list = static_cast<ListControl&>(*c);
  if (!ShowsEntries(w, list)) return;
  std::vector<long> selected;
  for (const QModelIndex& index : w.selectionModel()->selectedIndexes()) selected.push_back(index.row());
  UserActions::Pick(dialog.GetForm(), name, selected, w.currentRow());
}

} // namespace

QWidget* ListBoxAdapter::Make(FormDialog& dialog, const ControlPtr& control) const {
  auto* w = new ListBoxWidget(&dialog);
  // One line per entry: the view need not measure each of thousands.
  w->setUniformItemSizes(true);
  const std::string name = control->Name();
  Control* c = control.get();
  w->released = [&dialog, name, w, c](QMouseEvent& event) {
    dialog.Act([&] {
      TakePick(dialog, name, *w, c);
      UserActions::MouseUp(dialog.GetForm(), name, PlatformButton(event.button()), PlatformShift(event.modifiers()));
    });
    dialog.SyncLater(c);
  };
  // Arrows, Shift+arrows, Ctrl+A and the space bar pick as well.
  w->keyed = [&dialog, name, w, c] {
    dialog.Act([&] { TakePick(dialog, name, *w, c); });
    dialog.SyncLater(c);
  };
  QObject::connect(w, &QListWidget::itemDoubleClicked, &dialog, [&dialog, name](QListWidgetItem*) {
    dialog.Act([&] { UserActions::DblClick(dialog.GetForm(), name); });
  });
  return w;
}

void ListBoxAdapter::Show(Control& c, QWidget& w) const {
  auto& l = static_cast<QListWidget&>(w);
  auto& list = static_cast<ListControl&>(c);
  // Tens of thousands of entries are shown anew at each key typed in a
  // search box: all at once, then the selected ones marked in runs. Entries
  // that did not change stay, and with them where a Shift+click extends from.
  l.setUpdatesEnabled(false);
  l.setSelectionMode(ModeOf(list.MultiSelect()));
  const long count = list.ListCount();
  if (!ShowsEntries(l, list)) {
    l.clear();
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(count));
    for (long i = 0; i < count; ++i) entries.append(Q(list.List(i)));
    l.addItems(entries);
  }
  QItemSelection selection;
  for (long i = 0; i < count; ++i) {
    if (!list.Selected(i)) continue;
    long last = i;
    while (last + 1 < count && list.Selected(last + 1)) ++last;
    selection.select(l.model()->index(static_cast<int>(i), 0), l.model()->index(static_cast<int>(last), 0));
    i = last;
  }
  l.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  if (list.ListIndex() >= 0) l.setCurrentRow(static_cast<int>(list.ListIndex()), QItemSelectionModel::NoUpdate);
  l.setUpdatesEnabled(true);
}

} // namespace tov
