#pragma once
#include "host/gui/FormKeyboard.h"
#include "platform/forms/Control.h"

#include <QDialog>

#include <functional>
#include <map>
#include <set>

namespace tov {

class Form;
class QtPresenter;

// The Qt dialog of one form: a widget per control (made by the adapter of
// its kind), placed absolutely from the control's twips, kept in step with
// the form model both ways.
class FormDialog : public QDialog {
public:
  FormDialog(Form& form, QtPresenter& presenter, QWidget* parent);

  Form& GetForm() { return m_form; }
  QWidget* WidgetOf(const Control* control) const;
  // Updates the widget of control (or the dialog for null) from the model
  // without raising the widget's own signals.
  void Sync(Control* control);
  void SyncAll();
  // Syncs control once the event loop is back (after the signal that asked).
  void SyncLater(Control* control);
  // Runs a user's action on the form; its failures become a message box
  // rather than a crash, and one on a control a user cannot reach is dropped.
  void Act(const std::function<void()>& action);
  // Showing puts the keyboard where the user works first (a map, a text
  // box, ...: FirstFocusable); a text box keeps its text, the caret at its
  // end.
  void setVisible(bool visible) override;
  // Ends exec() because the form was hidden.
  void EndShowing() { done(0); }

  // Pixels of a length in twips.
  static int Px(float twips);

protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void Build();
  // The first widget in form order that the keyboard can reach, or null.
  QWidget* FirstFocusable() const;
  formkeys::Shown ShownControls() const;
  // Tab in layout order, Enter on the button that goes on, a name for
  // assistive tools on every control.
  void PrepareKeyboard();
  void SyncWidget(Control& control, QWidget& widget);
  void SyncPending();

  Form& m_form;
  QtPresenter& m_presenter;
  std::map<const Control*, QWidget*> m_widgets;
  bool m_syncingForm = false;
  int m_acting = 0;             // user actions running
  std::set<Control*> m_pending; // syncs waiting for the event loop
};

} // namespace tov
