#include "host/gui/controls/TextBoxAdapter.h"

#include "host/gui/FormDialog.h"
#include "host/gui/QtInput.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserActions.h"

#include <QColor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <set>

namespace tov {

namespace {

QColor ToQColor(long color) {
  if (color & 0x80000000L) return QColor(); // system colour: keep the style's
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// Typing at the end of the text: each key is typed into the form, which
// raises its key events. Keys the widget handles itself (Ctrl+V, Delete,
// the arrows, editing inside the text) reach the form as the new text and,
// when let go, as KeyUp, as on the platform.
class TypingThroughForm : public QObject {
public:
  TypingThroughForm(FormDialog& dialog, Control* control, QObject* parent)
      : QObject(parent), m_dialog(dialog), m_control(control) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit) return false;
    if (event->type() == QEvent::KeyRelease) return Released(*static_cast<QKeyEvent*>(event));
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const std::string name = m_control->Name();
    const QString text = key->text();
    const bool atEnd = edit->selectedText().isEmpty() && edit->cursorPosition() == edit->text().size();
    const bool printable =
        !text.isEmpty() && text.at(0).isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      // Enter reaches the form first (a dialog's Enter-as-OK); when the form
      // stays open and did not swallow it, the dialog's default button gets
      // it as usual.
      int left = 13;
      m_dialog.Act([&] { left = UserActions::KeyPress(m_dialog.GetForm(), name, 13); });
      return left == 0 || !m_dialog.GetForm().Visible();
    } else if (atEnd && key->key() == Qt::Key_Backspace) {
      m_dialog.Act([&] { UserActions::Type(m_dialog.GetForm(), name, "\b"); });
    } else if (atEnd && printable) {
      m_dialog.Act([&] { UserActions::Type(m_dialog.GetForm(), name, text.toStdString()); });
    } else {
      return false; // editing inside the text: the widget edits, textEdited tells the form
    }
    // Typing raised KeyUp already.
    m_typed.insert(key->key());
    m_dialog.Sync(m_control);
    if (auto* e = qobject_cast<QLineEdit*>(m_dialog.WidgetOf(m_control))) e->setCursorPosition(e->text().size());
    return true;
  }

private:
  bool Released(const QKeyEvent& key) {
    // A key held down repeats its press, but is let go once.
    if (key.isAutoRepeat() || m_typed.erase(key.key()) > 0) return false;
    const std::string name = m_control->Name();
    m_dialog.Act([&] {
      UserActions::KeyUp(m_dialog.GetForm(), name, PlatformKeyCode(key.key()), PlatformShift(key.modifiers()));
    });
    return false;
  }

  FormDialog& m_dialog;
  Control* m_control;
  std::set<int> m_typed; // keys typed through the form and not yet let go
};

} // namespace

QWidget* TextBoxAdapter::Make(FormDialog& dialog, const ControlPtr& control) const {
  if (control->MultiLine()) {
    // Several lines: the whole text reaches the form at each edit.
    auto* w = new QPlainTextEdit(&dialog);
    w->setTabChangesFocus(true);
    w->setReadOnly(control->Locked());
    const std::string name = control->Name();
    Control* c = control.get();
    QObject::connect(w, &QPlainTextEdit::textChanged, &dialog, [&dialog, w, name, c] {
      const std::string text = w->toPlainText().toStdString();
      if (text == c->Text()) return;
      dialog.Act([&] { UserActions::SetText(dialog.GetForm(), name, text); });
      dialog.Sync(c);
    });
    return w;
  }
  auto* w = new QLineEdit(&dialog);
  w->setReadOnly(control->Locked());
  w->installEventFilter(new TypingThroughForm(dialog, control.get(), w));
  const std::string name = control->Name();
  Control* c = control.get();
  QObject::connect(w, &QLineEdit::textEdited, &dialog, [&dialog, name, c](const QString& text) {
    dialog.Act([&] { UserActions::SetText(dialog.GetForm(), name, text.toStdString()); });
    dialog.Sync(c);
  });
  return w;
}

void TextBoxAdapter::Show(Control& c, QWidget& w) const {
  const QColor background = ToQColor(c.BackColor());
  const QString style = background.isValid() ? QString("background-color: %1").arg(background.name()) : QString();
  if (auto* lines = qobject_cast<QPlainTextEdit*>(&w)) {
    // Platform texts break lines with CR LF.
    const QString text = Q(c.Text()).replace("\r\n", "\n");
    if (lines->toPlainText() != text) lines->setPlainText(text);
    lines->setStyleSheet(style);
    return;
  }
  auto& e = static_cast<QLineEdit&>(w);
  if (e.text() != Q(c.Text())) e.setText(Q(c.Text()));
  e.setStyleSheet(style);
}

} // namespace tov
