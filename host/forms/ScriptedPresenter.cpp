#include "host/forms/ScriptedPresenter.h"

#include "host/forms/ScriptShapes.h"
#include "host/forms/UserScript.h"

#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/UserActions.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/TextCase.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace tov {

using nlohmann::json;

namespace {

const char* const kVerbs[] = {"type",   "set",     "click",  "dblclick", "select", "deselect", "keypress", "keyup",
                              "option", "toolbar", "buttonmenu", "check", "itemclick", "tab", "mapdown", "msgbox",
                              "close",  "resize"};

// The verb of a checked action (it has exactly one).
std::string VerbOf(const json& action) {
  for (const char* v : kVerbs)
    if (action.contains(v)) return v;
  return std::string();
}

// Entries of a list named by an action: "index", "item" (first equal text) or
// "items" (several of either).
std::vector<long> EntriesOf(Form& form, const json& a, const std::string& control) {
  std::vector<json> wanted;
  if (a.contains("items"))
    for (const json& x : a["items"]) wanted.push_back(x);
  if (a.contains("index")) wanted.push_back(a["index"]);
  if (a.contains("item")) wanted.push_back(a["item"]);
  auto list = std::dynamic_pointer_cast<ListControl>(form.HasControl(control) ? form.Ctl(control) : nullptr);
  if (!list) throw HostError(5, control, "\"" + control + "\" is not a list of the form \"" + form.Name() + "\"");
  std::vector<long> out;
  for (const json& w : wanted) {
    if (w.is_number_integer()) {
      out.push_back(w.get<long>());
      continue;
    }
    const std::string text = w.get<std::string>(); // the script was checked: a number or a text
    long found = -1;
    for (long i = 0; i < list->ListCount() && found < 0; ++i)
      if (list->List(i) == text) found = i;
    if (found < 0) throw HostError(5, control, "\"" + control + "\" has no entry \"" + text + "\"");
    out.push_back(found);
  }
  return out;
}

} // namespace

struct ScriptedPresenter::Script {
  std::deque<UserScript::Turn> Turns;
  size_t Loaded = 0;
};

struct ScriptedPresenter::ActiveTurn {
  UserScript::Turn Turn;
  size_t Next = 0; // index of the next action
};

ScriptedPresenter::ScriptedPresenter() : m_script(std::make_unique<Script>()) {}
ScriptedPresenter::~ScriptedPresenter() = default;

void ScriptedPresenter::LoadScript(const std::string& text) { Load(UserScript::Parse(text, m_script->Loaded + 1)); }

void ScriptedPresenter::LoadScriptFile(const std::string& nativePath) {
  Load(UserScript::ParseFile(nativePath, m_script->Loaded + 1));
}

void ScriptedPresenter::Load(UserScript script) {
  m_script->Loaded = std::max(m_script->Loaded, script.LastTurnNumber());
  for (UserScript::Turn& t : script.Turns()) m_script->Turns.push_back(std::move(t));
}

size_t ScriptedPresenter::PendingTurns() const { return m_script->Turns.size(); }

void ScriptedPresenter::CheckFinished() {
  for (const UserScript::Turn& t : m_script->Turns)
    Error("turn " + std::to_string(t.Number) + " (" + (t.Form.empty() ? std::string("message box") : t.Form) +
          ") was never used");
  m_script->Turns.clear();
}

void ScriptedPresenter::Error(const std::string& text) { m_errors.push_back(text); }

void ScriptedPresenter::ShowModal(Form& form) {
  m_shown.push_back(ShownForm{form.Name(), form.Caption()});
  while (form.Visible()) {
    auto& turns = m_script->Turns;
    std::string problem;
    if (turns.empty() || turns.front().Form.empty())
      problem = "no turn queued for the form " + form.Name();
    else if (!EqualsIgnoreCase(turns.front().Form, form.Name()))
      problem = "turn " + std::to_string(turns.front().Number) + " expects the form " + turns.front().Form + " but " +
                form.Name() + " was shown";
    if (!problem.empty()) {
      Error(problem + "; closed by its close box");
      form.CloseBox();
      if (form.Visible()) {
        Error("the form " + form.Name() + " refused to close; hidden");
        form.Hide();
      }
      return;
    }
    ActiveTurn active{std::move(turns.front()), 0};
    turns.pop_front();
    m_active.push_back(&active);
    try {
      RunActions(form, active);
    } catch (...) {
      m_active.pop_back();
      throw;
    }
    m_active.pop_back();
  }
}

void ScriptedPresenter::RunActions(Form& form, ActiveTurn& turn) {
  while (turn.Next < turn.Turn.Actions.size()) {
    if (!form.Visible()) {
      Error("turn " + std::to_string(turn.Turn.Number) + ": the form " + form.Name() + " closed with " +
            std::to_string(turn.Turn.Actions.size() - turn.Next) + " action(s) left");
      turn.Next = turn.Turn.Actions.size();
      return;
    }
    size_t index = turn.Next++;
    try {
      RunAction(form, turn, index);
    } catch (const HostError& e) {
      Error("turn " + std::to_string(turn.Turn.Number) + ", action " + std::to_string(index + 1) + ": " + e.Description());
    }
  }
}

void ScriptedPresenter::RunAction(Form& form, ActiveTurn& turn, size_t index) {
  const json& a = turn.Turn.Actions[index];
  std::string verb = VerbOf(a);
  if (verb == "msgbox") throw HostError(5, form.Name(), "a message box answer came when no message box was shown");
  if (verb == "close") {
    form.CloseBox();
    return;
  }
  if (verb == "resize") {
    Form::UserEdit echo(form, nullptr, Property::Geometry);
    form.SetWidth(a[verb][0].get<float>());
    form.SetHeight(a[verb][1].get<float>());
    return;
  }
  std::string control = a[verb].get<std::string>();
  if (verb == "type") UserActions::Type(form, control, a["text"].get<std::string>());
  else if (verb == "set") UserActions::SetText(form, control, a["text"].get<std::string>());
  else if (verb == "click" || verb == "option") UserActions::Click(form, control);
  else if (verb == "dblclick") {
    if (a.contains("index") || a.contains("item")) {
      for (long i : EntriesOf(form, a, control)) UserActions::Select(form, control, i);
    }
    UserActions::DblClick(form, control);
  } else if (verb == "select") {
    for (long i : EntriesOf(form, a, control)) UserActions::Select(form, control, i);
  } else if (verb == "deselect") {
    for (long i : EntriesOf(form, a, control)) UserActions::Deselect(form, control, i);
  } else if (verb == "keypress") UserActions::KeyPress(form, control, a["key"].get<int>());
  else if (verb == "keyup") UserActions::KeyUp(form, control, a["key"].get<int>(), a.value("shift", 0));
  else if (verb == "toolbar") UserActions::ToolbarButton(form, control, a["button"].get<std::string>());
  else if (verb == "buttonmenu")
    UserActions::ButtonMenu(form, control, a["button"].get<std::string>(), a["menu"].get<std::string>());
  else if (verb == "check") UserActions::CheckItem(form, control, a["index"].get<long>());
  else if (verb == "itemclick") UserActions::ClickItem(form, control, a["index"].get<long>());
  else if (verb == "tab") UserActions::SelectTab(form, control, a["index"].get<long>());
  else if (verb == "mapdown") {
    m_tracks.clear();
    if (a.contains("track")) m_tracks.push_back(ScriptShapes::ShapeOf(a["track"]));
    if (a.contains("tracks"))
      for (const json& t : a["tracks"]) m_tracks.push_back(ScriptShapes::ShapeOf(t));
    const json& m = a["map"];
    UserActions::MapMouseDown(form, control, a.value("button", 1), a.value("shift", 0), a.value("x", 0.0),
                              a.value("y", 0.0), m[0].get<double>(), m[1].get<double>());
    if (!m_tracks.empty()) Error("turn " + std::to_string(turn.Turn.Number) + ": a tracked shape was never asked for");
    m_tracks.clear();
  }
}

int32_t ScriptedPresenter::MsgBox(const std::string& text, int32_t style, const std::string& title) {
  Message m;
  m.Text = text;
  m.Title = title;
  m.Icon = MsgBoxIconName(style);
  m.Buttons = MsgBoxButtonsName(style);
  int32_t answer = 0;
  if (!m_active.empty()) {
    ActiveTurn& turn = *m_active.back();
    m.Form = turn.Turn.Form;
    if (turn.Next < turn.Turn.Actions.size() && turn.Turn.Actions[turn.Next].contains("msgbox"))
      answer = MsgBoxAnswerFromName(turn.Turn.Actions[turn.Next++]["msgbox"].get<std::string>());
  } else if (!m_script->Turns.empty() && m_script->Turns.front().Form.empty()) {
    answer = m_script->Turns.front().Answer;
    m_script->Turns.pop_front();
  }
  int32_t buttons = MsgBoxButtons(style);
  int32_t fallback = MsgBoxCloseAnswer(style);
  if (answer == 0) {
    // An OK-only box needs no answer; any other is closed as by Escape.
    if (buttons != vbOKOnly) Error("no answer for the message box \"" + text + "\"; answered " + MsgBoxAnswerName(fallback));
    answer = fallback;
  } else if (!MsgBoxOffers(style, answer)) {
    Error(std::string("the answer ") + MsgBoxAnswerName(answer) + " is not a button of the message box \"" + text +
          "\"; answered " + MsgBoxAnswerName(fallback));
    answer = fallback;
  }
  m.Answer = answer;
  m_messages.push_back(m);
  return answer;
}

void ScriptedPresenter::Hide(Form&) {}

void ScriptedPresenter::PropertyChanged(Form&, Control*, Property) { ++m_changes; }

TrackedShape ScriptedPresenter::Track(TrackKind kind) {
  if (m_tracks.empty()) {
    TrackedShape none;
    none.Kind = kind;
    return none;
  }
  TrackedShape s = m_tracks.front();
  m_tracks.pop_front();
  if (!s.Empty && s.Kind != kind) {
    Error("the map asked for another kind of shape than the script gives");
    TrackedShape none;
    none.Kind = kind;
    return none;
  }
  return s;
}

} // namespace tov
