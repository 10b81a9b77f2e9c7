#pragma once
#include "platform/forms/Control.h"
#include "platform/forms/TrackedShape.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <string>

namespace tov {

class Form;

// Puts forms in front of the user. The scripted presenter plays a user from a
// script; a GUI presenter builds a real dialog from the form model (controls
// enumerable in form order with their kind and properties), passes the
// user's input back through UserActions and follows PropertyChanged.
class Presenter : public virtual Object {
public:
  // Shows the form modally and returns once form.Visible() is false. The form
  // is loaded, visible and activated when this is called.
  virtual void ShowModal(Form& form) = 0;
  // The program hid a form that this presenter is showing.
  virtual void Hide(Form& form) = 0;
  // A message box: style is the sum of a button set and an icon (MsgBox.h);
  // returns the button pressed (vbOK, vbCancel, vbYes, vbNo).
  virtual int32_t MsgBox(const std::string& text, int32_t style, const std::string& title) = 0;
  // The program changed a property of a shown form; control is null for the
  // form's own properties.
  virtual void PropertyChanged(Form& form, Control* control, Property property) = 0;
  // The map control's interactive track call (rectangle, polygon, circle)
  // made from inside a map mouse-down handler; blocks until the user is done.
  virtual TrackedShape Track(TrackKind kind) = 0;
};

using PresenterPtr = std::shared_ptr<Presenter>;

// The presenter that forms and message boxes use (one per program).
void SetPresenter(PresenterPtr presenter);
// The current presenter; raises 91 when none has been set.
PresenterPtr GetPresenter();
bool HasPresenter();

} // namespace tov
