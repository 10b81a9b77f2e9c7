#pragma once
#include "platform/forms/Control.h"

#include <QString>

#include <string>

class QWidget;

namespace tov {

class FormDialog;

// How one kind of control is shown in a Qt dialog: the widget made for it,
// the user's input on it going to the form, and the form's state shown on
// it. Adapters hold no state; everything lives in the form and the widget.
class ControlAdapter {
public:
  virtual ~ControlAdapter() = default;

  // The widget of control on dialog, its signals wired to the form through
  // the dialog.
  virtual QWidget* Make(FormDialog& dialog, const ControlPtr& control) const = 0;
  // Shows the control's own state (text, entries, value) on its widget; the
  // dialog has already placed it and set what every kind shares.
  virtual void Show(Control& control, QWidget& widget) const = 0;
  // Whether Show makes the widget's entries anew, which must not happen
  // inside the widget's own signal.
  virtual bool Rebuilds() const { return false; }

  // The adapter of a kind; null for a kind without a widget (image list).
  static const ControlAdapter* For(ControlKind kind);

protected:
  static QString Q(const std::string& text) { return QString::fromStdString(text); }
};

} // namespace tov
