#include "host/gui/FormDialog.h"

#include "host/gui/FormKeyboard.h"
#include "host/gui/MapCanvas.h"
#include "host/gui/WizardPicture.h"
#include "host/gui/QtPresenter.h"
#include "host/gui/controls/ControlAdapter.h"
#include "platform/forms/Form.h"
#include "platform/forms/SystemCalls.h"
#include "platform/runtime/HostError.h"

#include <QCloseEvent>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QMessageBox>
#include <QSignalBlocker>

#include <cmath>
#include <tuple>

namespace tov {

namespace {

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

} // namespace

int FormDialog::Px(float twips) { return static_cast<int>(std::lround(twips / QtPresenter::TwipsPerPixel())); }

FormDialog::FormDialog(Form& form, QtPresenter& presenter, QWidget* parent)
    : QDialog(parent), m_form(form), m_presenter(presenter) {
  setObjectName(Q(form.Name()));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  Build();
  SyncAll();
}

void FormDialog::Act(const std::function<void()>& action) {
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
    const ControlAdapter* adapter = ControlAdapter::For(c->Kind());
    QWidget* w = adapter ? adapter->Make(*this, c) : nullptr;
    if (!w) continue;
    w->setObjectName(Q(c->Name()));
    m_widgets[c.get()] = w;
    if (c->Kind() == ControlKind::Frame) frames.push_back(w);
  }
  // Frames sit behind the controls placed on them.
  for (QWidget* f : frames) f->lower();
}

formkeys::Shown FormDialog::ShownControls() const {
  formkeys::Shown shown;
  for (const ControlPtr& c : m_form.Controls())
    if (QWidget* w = WidgetOf(c.get())) shown.emplace_back(c.get(), w);
  return shown;
}

void FormDialog::PrepareKeyboard() {
  const formkeys::Shown shown = ShownControls();
  formkeys::LayoutTabOrder(*this, shown);
  if (QPushButton* goesOn = formkeys::DefaultButton(shown)) goesOn->setDefault(true);
  for (const auto& [control, widget] : shown) widget->setAccessibleName(formkeys::AccessibleName(shown, *control, *widget));
  // A page that keeps the wizard's band empty without an image box of its
  // own shows the picture there all the same.
  const QRect band = EmptyWizardBand(shown);
  if (!band.isEmpty() && !findChild<QLabel*>("WizardPicture", Qt::FindDirectChildrenOnly)) {
    auto* picture = new QLabel(this);
    picture->setObjectName("WizardPicture");
    picture->setAccessibleName(tr("Picture"));
    picture->setGeometry(band);
    picture->setPixmap(WizardPicture(band.size(), devicePixelRatioF()));
    picture->lower();
  }
}

QWidget* FormDialog::FirstFocusable() const {
  // Where the user works first: a map to draw on, or the first box to type
  // in, else the first list to pick from, else the chosen option, else the
  // button that goes on (Next, OK), else whatever comes first in the form's
  // order.
  auto rank = [](QWidget* w) {
    if (dynamic_cast<MapCanvas*>(w)) return 0;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->isReadOnly() ? 6 : 0;
    if (auto* lines = qobject_cast<QPlainTextEdit*>(w)) return lines->isReadOnly() ? 6 : 0;
    if (qobject_cast<QAbstractItemView*>(w) || qobject_cast<QComboBox*>(w)) return 1;
    if (auto* option = qobject_cast<QRadioButton*>(w)) return option->isChecked() ? 2 : 3;
    if (auto* button = qobject_cast<QPushButton*>(w)) {
      const QString name = button->objectName();
      return name == "NextButton" || name == "OKButton" || button->isDefault() ? 4 : 5;
    }
    return 5;
  };
  // Among equals, the one read first: the topmost, then the leftmost.
  auto key = [&](QWidget* w) {
    const QPoint at = w->mapTo(this, QPoint(0, 0));
    return std::make_tuple(rank(w), at.y(), at.x());
  };
  QWidget* best = nullptr;
  for (const ControlPtr& c : m_form.Controls()) {
    QWidget* w = WidgetOf(c.get());
    if (!w || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled() || !w->isVisibleTo(this)) continue;
    if (!best || key(w) < key(best)) best = w;
  }
  return best;
}

void FormDialog::setVisible(bool visible) {
  // Laid out by now: Tab, Enter and the names read aloud follow the layout.
  if (visible && !isVisible()) PrepareKeyboard();
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

void FormDialog::SyncWidget(Control& c, QWidget& w) {
  const QSignalBlocker block(&w);
  w.setGeometry(Px(c.Left()), Px(c.Top()), std::max(Px(c.Width()), 1), std::max(Px(c.Height()), 1));
  w.setVisible(c.Visible());
  w.setEnabled(c.Enabled());
  if (c.HasToolTip()) w.setToolTip(Q(c.ToolTipText()));
  if (c.HasFont()) w.setFont(ToQFont(c.GetFont()));
  if (const ControlAdapter* adapter = ControlAdapter::For(c.Kind())) adapter->Show(c, w);
  // A caption changed while shown is read aloud as it now stands.
  if (isVisible()) w.setAccessibleName(formkeys::AccessibleName(ShownControls(), c, w));
}

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
  if (control && m_acting > 0) {
    const ControlAdapter* adapter = ControlAdapter::For(control->Kind());
    if (adapter && adapter->Rebuilds()) {
      SyncLater(control);
      return;
    }
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

} // namespace tov
