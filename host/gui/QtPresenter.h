#pragma once
#include "platform/forms/Presenter.h"

#include <QString>

#include <functional>
#include <map>
#include <string>

class QWidget;

namespace tov {

class FormDialog;

// Shows forms as real Qt dialogs: every control becomes a widget placed from
// its twips, user input goes back through UserActions and the program's
// changes come back through PropertyChanged. ShowModal runs exec() until the
// form hides.
class QtPresenter : public Presenter {
public:
  QtPresenter();
  ~QtPresenter() override;

  void ShowModal(Form& form) override;
  void Hide(Form& form) override;
  int32_t MsgBox(const std::string& text, int32_t style, const std::string& title) override;
  void PropertyChanged(Form& form, Control* control, Property property) override;
  TrackedShape Track(TrackKind kind) override;

  // The dialog showing form, or null.
  FormDialog* DialogOf(const Form& form) const;
  // Called once a dialog is on screen (screenshots, tests).
  void SetOnShown(std::function<void(Form&, QWidget&)> onShown) { m_onShown = std::move(onShown); }
  // Answers message boxes without showing them (screenshots, tests); 0 shows them.
  void SetMsgBoxAnswer(std::function<int32_t(const std::string& text, int32_t style)> answer) {
    m_msgAnswer = std::move(answer);
  }
  // The owner window of the dialogs.
  void SetParentWindow(QWidget* parent) { m_parent = parent; }
  // Pixels per twip are 1 / TwipsPerPixel of the system calls (15 by default).
  static int TwipsPerPixel();

private:
  std::map<const Form*, FormDialog*> m_dialogs;
  std::function<void(Form&, QWidget&)> m_onShown;
  std::function<int32_t(const std::string&, int32_t)> m_msgAnswer;
  QWidget* m_parent = nullptr;
};

using QtPresenterPtr = std::shared_ptr<QtPresenter>;

} // namespace tov
