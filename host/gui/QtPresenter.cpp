#include "host/gui/QtPresenter.h"

#include "host/gui/FormDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/SystemCalls.h"
#include "platform/runtime/HostError.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace tov {

QtPresenter::QtPresenter() = default;
QtPresenter::~QtPresenter() = default;

int QtPresenter::TwipsPerPixel() {
  try {
    if (auto calls = GetSystemCalls()) {
      const int t = calls->TwipsPerPixelX();
      if (t > 0) return t;
    }
  } catch (const HostError&) {
  }
  return 15;
}

FormDialog* QtPresenter::DialogOf(const Form& form) const {
  auto it = m_dialogs.find(&form);
  return it == m_dialogs.end() ? nullptr : it->second;
}

void QtPresenter::ShowModal(Form& form) {
  QWidget* parent = m_parent;
  if (!Form::ModalStack().empty()) {
    // A form shown from another one belongs to that one's dialog.
    for (auto it = Form::ModalStack().rbegin(); it != Form::ModalStack().rend(); ++it)
      if (*it != &form && DialogOf(**it)) {
        parent = DialogOf(**it);
        break;
      }
  }
  QPointer<FormDialog> dialog = new FormDialog(form, *this, parent);
  dialog->setModal(true);
  m_dialogs[&form] = dialog;
  if (m_onShown) {
    Form* f = &form;
    QTimer::singleShot(0, dialog, [this, f, dialog] {
      if (dialog && f->Visible()) m_onShown(*f, *dialog);
    });
  }
  while (form.Visible() && dialog) dialog->exec();
  m_dialogs.erase(&form);
  delete dialog;
}

void QtPresenter::Hide(Form& form) {
  if (FormDialog* d = DialogOf(form)) d->EndShowing();
}

int32_t QtPresenter::MsgBox(const std::string& text, int32_t style, const std::string& title) {
  if (m_msgAnswer) {
    const int32_t answer = m_msgAnswer(text, style);
    if (answer != 0) return answer;
  }
  QMessageBox box(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_parent);
  box.setText(QString::fromStdString(text));
  box.setWindowTitle(QString::fromStdString(title.empty() ? "Tovana" : title));
  switch (MsgBoxIcon(style)) {
  case vbCritical: box.setIcon(QMessageBox::Critical); break;
  case vbQuestion: box.setIcon(QMessageBox::Question); break;
  case vbExclamation: box.setIcon(QMessageBox::Warning); break;
  case vbInformation: box.setIcon(QMessageBox::Information); break;
  default: box.setIcon(QMessageBox::NoIcon); break;
  }
  switch (MsgBoxButtons(style)) {
  case vbOKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
  case vbYesNoCancel: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
  case vbYesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
  default: box.setStandardButtons(QMessageBox::Ok); break;
  }
  switch (box.exec()) {
  case QMessageBox::Cancel: return vbCancel;
  case QMessageBox::Yes: return vbYes;
  case QMessageBox::No: return vbNo;
  case QMessageBox::Ok: return vbOK;
  default: return MsgBoxCloseAnswer(style); // its close box
  }
}

void QtPresenter::PropertyChanged(Form& form, Control* control, Property) {
  if (FormDialog* d = DialogOf(form)) d->Sync(control);
}

// Every map control on a dialog tracks on its own canvas; one without a
// canvas has nothing to track on.
TrackedShape QtPresenter::Track(TrackKind kind) {
  TrackedShape empty;
  empty.Kind = kind;
  return empty;
}

} // namespace tov
