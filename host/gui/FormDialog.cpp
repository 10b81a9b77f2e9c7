#include "host/gui/FormDialog.h"

#include "host/common/Paths.h"
#include "host/gui/HostMapControl.h"
#include "host/gui/MapCanvas.h"
#include "host/gui/QtPresenter.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/ListView.h"
#include "platform/forms/MapControlHost.h"
#include "platform/forms/SystemCalls.h"
#include "platform/forms/TabStrip.h"
#include "platform/forms/Toolbar.h"
#include "platform/forms/UserActions.h"
#include "platform/runtime/HostError.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>

#include <cmath>

namespace tov {

namespace {

int Px(float twips) { return static_cast<int>(std::lround(twips / QtPresenter::TwipsPerPixel())); }

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The window caption is part of a form's height.
int CaptionPixels() {
  try {
    if (auto calls = GetSystemCalls()) {
      const int h = calls->GetSystemMetrics(4);
      if (h > 0 && h < 100) return h;
    }
  } catch (const HostError&) {
  }
  return 21;
}

QFont ToQFont(const Font& f) {
  QFont font;
  // Fonts of the other platform are mapped to the default sans face.
  if (f.Name != "MS Sans Serif" && !f.Name.empty()) font.setFamily(Q(f.Name));
  if (f.Size > 0) font.setPointSizeF(f.Size);
  font.setBold(f.Bold);
  font.setItalic(f.Italic);
  return font;
}

QColor ToQColor(long color) {
  if (color & 0x80000000L) return QColor(); // system colour: keep the style's
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

} // namespace

FormDialog::FormDialog(Form& form, QtPresenter& presenter, QWidget* parent)
    : QDialog(parent), m_form(form), m_presenter(presenter) {
  setObjectName(Q(form.Name()));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  Build();
  SyncAll();
}

template <class F>
void FormDialog::Act(F action) {
  ++m_acting;
  struct Done {
    int& acting;
    ~Done() { --acting; }
  } done{m_acting};
  try {
    action();
  } catch (const HostError& e) {
    // Actions on controls a user cannot reach are dropped; other failures are told.
    if (e.Number() == 5) return;
    QMessageBox::critical(this, windowTitle(), Q(e.Description()));
  } catch (const std::exception& e) {
    QMessageBox::critical(this, windowTitle(), QString::fromUtf8(e.what()));
  }
}

QWidget* FormDialog::WidgetOf(const Control* control) const {
  auto it = m_widgets.find(control);
  return it == m_widgets.end() ? nullptr : it->second;
}

void FormDialog::Build() {
  std::vector<QWidget*> frames;
  for (const ControlPtr& c : m_form.Controls()) {
    QWidget* w = Make(c);
    if (!w) continue;
    w->setObjectName(Q(c->Name()));
    m_widgets[c.get()] = w;
    if (c->Kind() == ControlKind::Frame) frames.push_back(w);
  }
  // Frames sit behind the controls placed on them.
  for (QWidget* f : frames) f->lower();
  // Tab follows form order.
  QWidget* previous = nullptr;
  for (const ControlPtr& c : m_form.Controls()) {
    QWidget* w = WidgetOf(c.get());
    if (!w || !(w->focusPolicy() & Qt::TabFocus)) continue;
    if (previous) setTabOrder(previous, w);
    previous = w;
  }
}

QWidget* FormDialog::FirstFocusable() const {
  for (const ControlPtr& c : m_form.Controls()) {
    QWidget* w = WidgetOf(c.get());
    if (w && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this)) return w;
  }
  return nullptr;
}

void FormDialog::setVisible(bool visible) {
  QWidget* first = visible && !isVisible() ? FirstFocusable() : nullptr;
  // Set before showing, so that the dialog opens with it rather than with
  // whatever its focus chain begins with.
  if (first) first->setFocus(Qt::OtherFocusReason);
  QDialog::setVisible(visible);
  // The dialog announces the focus as if tabbed to, which selects a text
  // box's whole text: a user typing on would lose it.
  if (auto* edit = qobject_cast<QLineEdit*>(first)) {
    edit->deselect();
    edit->end(false);
  }
}

QWidget* FormDialog::Make(const ControlPtr& control) {
  const std::string name = control->Name();
  switch (control->Kind()) {
  case ControlKind::Label: {
    auto* w = new QLabel(this);
    w->setWordWrap(true);
    w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return w;
  }
  case ControlKind::TextBox: {
    auto* w = new QLineEdit(this);
    // Keys go through the model one by one so that its handlers may refuse
    // them; the widget then shows what the model holds.
    w->installEventFilter(this);
    connect(w, &QLineEdit::textEdited, this, [this, name, control](const QString& text) {
      Act([&] { UserActions::SetText(m_form, name, text.toStdString()); });
      Sync(control.get());
    });
    return w;
  }
  case ControlKind::CommandButton: {
    auto* w = new QPushButton(this);
    w->setAutoDefault(false);
    connect(w, &QPushButton::clicked, this, [this, name] { Act([&] { UserActions::Click(m_form, name); }); });
    return w;
  }
  case ControlKind::OptionButton: {
    auto* w = new QRadioButton(this);
    w->setAutoExclusive(false);
    connect(w, &QRadioButton::clicked, this, [this, name] {
      Act([&] { UserActions::Click(m_form, name); });
      SyncAll();
    });
    return w;
  }
  case ControlKind::CheckBox: {
    auto* w = new QCheckBox(this);
    connect(w, &QCheckBox::clicked, this, [this, name, control] {
      Act([&] { UserActions::Click(m_form, name); });
      Sync(control.get());
    });
    return w;
  }
  case ControlKind::ListBox: {
    auto* w = new QListWidget(this);
    connect(w, &QListWidget::itemClicked, this, [this, name, w, control](QListWidgetItem* item) {
      const long index = w->row(item);
      Act([&] { UserActions::Select(m_form, name, index); });
      SyncLater(control.get());
    });
    connect(w, &QListWidget::itemDoubleClicked, this,
            [this, name](QListWidgetItem*) { Act([&] { UserActions::DblClick(m_form, name); }); });
    return w;
  }
  case ControlKind::ComboBox: {
    auto* w = new QComboBox(this);
    connect(w, QOverload<int>::of(&QComboBox::activated), this, [this, name, control](int index) {
      Act([&] { UserActions::Select(m_form, name, index); });
      SyncLater(control.get());
    });
    return w;
  }
  case ControlKind::Frame: {
    auto* w = new QGroupBox(this);
    return w;
  }
  case ControlKind::Image:
    return new QLabel(this);
  case ControlKind::Toolbar: {
    auto* w = new QToolBar(this);
    w->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return w;
  }
  case ControlKind::ListView: {
    auto* w = new QTreeWidget(this);
    w->setRootIsDecorated(false);
    connect(w, &QTreeWidget::itemChanged, this, [this, name, w, control](QTreeWidgetItem* item, int) {
      const long index = w->indexOfTopLevelItem(item) + 1;
      Act([&] { UserActions::CheckItem(m_form, name, index); });
      SyncLater(control.get());
    });
    connect(w, &QTreeWidget::itemClicked, this, [this, name, w](QTreeWidgetItem* item, int) {
      const long index = w->indexOfTopLevelItem(item) + 1;
      Act([&] { UserActions::ClickItem(m_form, name, index); });
    });
    return w;
  }
  case ControlKind::TabStrip: {
    auto* w = new QTabBar(this);
    connect(w, &QTabBar::tabBarClicked, this, [this, name, control](int index) {
      Act([&] { UserActions::SelectTab(m_form, name, index + 1); });
      Sync(control.get());
    });
    return w;
  }
  case ControlKind::ImageList:
    return nullptr;
  case ControlKind::MapControl: {
    auto slot = std::dynamic_pointer_cast<MapControlHost>(control);
    HostMapControlPtr map;
    if (slot) {
      map = std::dynamic_pointer_cast<HostMapControl>(slot->MapObject());
      if (!map && !slot->MapObject()) {
        map = std::make_shared<HostMapControl>();
        slot->SetMapObject(map);
      }
    }
    if (!map) return new QLabel(tr("(map)"), this);
    auto* w = new MapCanvas(map, this);
    w->SetMouseDownHandler([this, name](int button, int shift, double x, double y, double mx, double my) {
      Act([&] { UserActions::MapMouseDown(m_form, name, button, shift, x, y, mx, my); });
    });
    return w;
  }
  }
  return nullptr;
}

void FormDialog::SyncWidget(Control& c, QWidget& w) {
  const QSignalBlocker block(&w);
  w.setGeometry(Px(c.Left()), Px(c.Top()), std::max(Px(c.Width()), 1), std::max(Px(c.Height()), 1));
  w.setVisible(c.Visible());
  w.setEnabled(c.Enabled());
  if (c.HasToolTip()) w.setToolTip(Q(c.ToolTipText()));
  if (c.HasFont()) w.setFont(ToQFont(c.GetFont()));
  switch (c.Kind()) {
  case ControlKind::Label:
    static_cast<QLabel&>(w).setText(Q(c.Caption()));
    break;
  case ControlKind::TextBox: {
    auto& e = static_cast<QLineEdit&>(w);
    if (e.text() != Q(c.Text())) e.setText(Q(c.Text()));
    const QColor bg = ToQColor(c.BackColor());
    e.setStyleSheet(bg.isValid() ? QString("background-color: %1").arg(bg.name()) : QString());
    break;
  }
  case ControlKind::CommandButton:
    static_cast<QPushButton&>(w).setText(Q(c.Caption()));
    break;
  case ControlKind::OptionButton:
    static_cast<QRadioButton&>(w).setText(Q(c.Caption()));
    static_cast<QRadioButton&>(w).setChecked(c.Value() != 0);
    break;
  case ControlKind::CheckBox: {
    auto& b = static_cast<QCheckBox&>(w);
    b.setText(Q(c.Caption()));
    b.setTristate(c.Value() == 2);
    b.setCheckState(c.Value() == 1 ? Qt::Checked : c.Value() == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    break;
  }
  case ControlKind::ListBox: {
    auto& l = static_cast<QListWidget&>(w);
    auto& list = static_cast<ListControl&>(c);
    l.clear();
    l.setSelectionMode(list.MultiSelect() ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
    for (long i = 0; i < list.ListCount(); ++i) {
      l.addItem(Q(list.List(i)));
      l.item(static_cast<int>(i))->setSelected(list.Selected(i));
    }
    if (list.ListIndex() >= 0) l.setCurrentRow(static_cast<int>(list.ListIndex()), QItemSelectionModel::NoUpdate);
    break;
  }
  case ControlKind::ComboBox: {
    auto& b = static_cast<QComboBox&>(w);
    auto& list = static_cast<ListControl&>(c);
    b.clear();
    for (long i = 0; i < list.ListCount(); ++i) b.addItem(Q(list.List(i)));
    b.setCurrentIndex(static_cast<int>(list.ListIndex()));
    break;
  }
  case ControlKind::Frame: {
    auto& g = static_cast<QGroupBox&>(w);
    g.setTitle(Q(c.Caption()));
    // A frame without caption and almost no height is a separator line.
    g.setFlat(c.Caption().empty() && c.Height() < 100);
    break;
  }
  case ControlKind::Image: {
    auto& l = static_cast<QLabel&>(w);
    QPixmap pixmap;
    if (!c.Picture().empty() && pixmap.load(Q(ToNativePath(c.Picture())))) l.setPixmap(pixmap);
    break;
  }
  case ControlKind::Toolbar: {
    auto& bar = static_cast<QToolBar&>(w);
    auto& tb = static_cast<Toolbar&>(c);
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
      const std::string key = b.Key;
      Control* ctl = &c;
      connect(a, &QAction::triggered, this, [this, name, key, ctl] {
        Act([&] { UserActions::ToolbarButton(m_form, name, key); });
        SyncLater(ctl);
      });
    }
    break;
  }
  case ControlKind::ListView: {
    auto& t = static_cast<QTreeWidget&>(w);
    auto& lv = static_cast<ListView&>(c);
    t.clear();
    QStringList headers;
    for (long i = 1; i <= lv.ColumnCount(); ++i) headers << Q(lv.Column(i).Text);
    t.setColumnCount(std::max<int>(1, headers.size()));
    t.setHeaderLabels(headers);
    t.setHeaderHidden(headers.isEmpty());
    for (long i = 1; i <= lv.ColumnCount(); ++i) t.setColumnWidth(static_cast<int>(i - 1), Px(lv.Column(i).Width));
    for (long i = 1; i <= lv.ItemCount(); ++i) {
      const ListItem& item = lv.Item(i);
      auto* row = new QTreeWidgetItem(&t);
      row->setText(0, Q(item.Text));
      for (size_t s = 0; s < item.SubItems.size(); ++s) row->setText(static_cast<int>(s + 1), Q(item.SubItems[s]));
      row->setToolTip(0, Q(item.ToolTipText));
      if (lv.Checkboxes()) row->setCheckState(0, item.Checked ? Qt::Checked : Qt::Unchecked);
      row->setSelected(item.Selected);
    }
    break;
  }
  case ControlKind::TabStrip: {
    auto& bar = static_cast<QTabBar&>(w);
    auto& ts = static_cast<TabStrip&>(c);
    while (bar.count() > 0) bar.removeTab(0);
    for (long i = 1; i <= ts.TabCount(); ++i) {
      bar.addTab(Q(ts.TabAt(i).Caption));
      bar.setTabToolTip(static_cast<int>(i - 1), Q(ts.TabAt(i).ToolTipText));
    }
    bar.setCurrentIndex(static_cast<int>(ts.SelectedItem()) - 1);
    break;
  }
  case ControlKind::MapControl:
    w.update();
    break;
  default:
    break;
  }
}

namespace {
// Kinds whose widget is rebuilt (its entries, items, buttons or tabs made
// anew) by a sync.
bool RebuildsOnSync(ControlKind kind) {
  switch (kind) {
  case ControlKind::ListBox:
  case ControlKind::ComboBox:
  case ControlKind::ListView:
  case ControlKind::Toolbar:
  case ControlKind::TabStrip: return true;
  default: return false;
  }
}
} // namespace

void FormDialog::SyncLater(Control* control) {
  if (m_pending.insert(control).second && m_pending.size() == 1)
    QMetaObject::invokeMethod(this, &FormDialog::SyncPending, Qt::QueuedConnection);
}

void FormDialog::SyncPending() {
  const std::set<Control*> pending = std::move(m_pending);
  m_pending.clear();
  for (Control* control : pending) Sync(control);
}

void FormDialog::Sync(Control* control) {
  // Rebuilding a widget from inside one of its own signals would delete the
  // entry Qt is still handling: during a user action that waits a turn.
  if (control && m_acting > 0 && RebuildsOnSync(control->Kind())) {
    SyncLater(control);
    return;
  }
  if (control) {
    if (QWidget* w = WidgetOf(control)) {
      try {
        SyncWidget(*control, *w);
      } catch (const HostError&) {
        // A property the kind lacks: nothing to show.
      }
    }
    return;
  }
  m_syncingForm = true;
  setWindowTitle(Q(m_form.Caption()));
  setFont(ToQFont(m_form.GetFont()));
  const QSize size(std::max(Px(m_form.Width()), 50), std::max(Px(m_form.Height()) - CaptionPixels(), 30));
  if (this->size() != size) resize(size);
  move(Px(m_form.Left()), Px(m_form.Top()));
  m_syncingForm = false;
}

void FormDialog::SyncAll() {
  Sync(nullptr);
  for (const ControlPtr& c : m_form.Controls()) Sync(c.get());
}

void FormDialog::reject() {
  // Escape and the close box both count as the close box; the form decides.
  Act([&] { m_form.CloseBox(); });
  if (!m_form.Visible()) done(0);
}

void FormDialog::closeEvent(QCloseEvent* event) {
  if (!m_form.Visible()) {
    event->accept();
    return;
  }
  event->ignore();
  reject();
}

void FormDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (m_syncingForm || !isVisible()) return;
  // A user's resize becomes the form's size (Form_Resize lays it out again).
  const int tpp = QtPresenter::TwipsPerPixel();
  const float w = static_cast<float>(width() * tpp);
  const float h = static_cast<float>((height() + CaptionPixels()) * tpp);
  if (std::abs(w - m_form.Width()) < tpp && std::abs(h - m_form.Height()) < tpp) return;
  Act([&] {
    Form::UserEdit edit(m_form, nullptr, Property::Geometry);
    m_form.SetWidth(w);
    m_form.SetHeight(h);
  });
}

bool FormDialog::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (!edit || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const Control* control = nullptr;
  for (auto& [c, w] : m_widgets)
    if (w == edit) control = c;
  if (!control) return false;
  const std::string name = control->Name();
  const QString text = key->text();
  const bool printable = !text.isEmpty() && text.at(0).isPrint() &&
                         !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (key->key() == Qt::Key_Backspace && edit->selectedText().isEmpty() &&
      edit->cursorPosition() == edit->text().size()) {
    Act([&] { UserActions::Type(m_form, name, "\b"); });
  } else if (printable && edit->selectedText().isEmpty() && edit->cursorPosition() == edit->text().size()) {
    Act([&] { UserActions::Type(m_form, name, text.toStdString()); });
  } else {
    return false; // editing inside the text: the widget edits, textEdited tells the model
  }
  Sync(const_cast<Control*>(control));
  if (auto* e = qobject_cast<QLineEdit*>(WidgetOf(control))) e->setCursorPosition(e->text().size());
  return true;
}

} // namespace tov
