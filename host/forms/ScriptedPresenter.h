#pragma once
#include "platform/forms/Presenter.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace tov {

class UserScript;

// A presenter that plays the user from a script (tests and the command line).
// The script is a queue of turns; a turn names the form it expects and the
// actions to perform on it, or is the answer to a message box shown outside
// any turn. The JSON form is described in docs/scripts.md.
//
// Everything shown is recorded: each form showing and each message box
// (text, title, icon, buttons, answer). Where the script and the program
// disagree (no turn for a shown form, another form expected, an action on a
// disabled control, a message box without an answer) the presenter records a
// script error and carries on as a user closing the window would.
class ScriptedPresenter : public Presenter {
public:
  struct ShownForm {
    std::string Form;
    std::string Caption;
  };
  struct Message {
    std::string Text;
    std::string Title;
    std::string Icon;    // "critical", "exclamation", "question", "information" or ""
    std::string Buttons; // "OK", "OKCancel", "YesNoCancel", "YesNo"
    int32_t Answer = 0;
    std::string Form; // the form whose turn was running, "" outside any
  };

  ScriptedPresenter();
  ~ScriptedPresenter() override;

  // Appends the turns of a script: a JSON array of turns or an object with a
  // "turns" array. A malformed script raises HostError 5 naming the turn and
  // action at fault, and appends nothing. Turns are numbered on from the
  // scripts loaded before.
  void LoadScript(const std::string& json);
  // Reads a script file (native path); 53 when it cannot be read.
  void LoadScriptFile(const std::string& nativePath);
  // Appends the turns of a script read already.
  void Load(UserScript script);

  void ShowModal(Form& form) override;
  void Hide(Form& form) override;
  int32_t MsgBox(const std::string& text, int32_t style, const std::string& title) override;
  void PropertyChanged(Form& form, Control* control, Property property) override;
  TrackedShape Track(TrackKind kind) override;

  const std::vector<ShownForm>& ShownForms() const { return m_shown; }
  const std::vector<Message>& Messages() const { return m_messages; }
  const std::vector<std::string>& Errors() const { return m_errors; }
  // Turns not used yet.
  size_t PendingTurns() const;
  // Records every unused turn as a script error (at the end of a run).
  void CheckFinished();
  // How many property changes the program made on shown forms.
  long ChangeCount() const { return m_changes; }

private:
  struct Script;
  struct ActiveTurn;
  void RunActions(Form& form, ActiveTurn& turn);
  void RunAction(Form& form, ActiveTurn& turn, size_t index);
  void Error(const std::string& text);

  std::unique_ptr<Script> m_script;
  std::vector<ActiveTurn*> m_active;
  std::deque<TrackedShape> m_tracks;
  std::vector<ShownForm> m_shown;
  std::vector<Message> m_messages;
  std::vector<std::string> m_errors;
  long m_changes = 0;
};

using ScriptedPresenterPtr = std::shared_ptr<ScriptedPresenter>;

} // namespace tov
