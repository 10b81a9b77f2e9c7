#include "host/forms/ScriptedPresenter.h"

#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/UserActions.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/TextCase.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace tov {

using nlohmann::json;

namespace {

const char* const kVerbs[] = {"type",   "set",     "click",  "dblclick", "select", "deselect", "keypress", "keyup",
                              "option", "toolbar", "buttonmenu", "check", "itemclick", "tab", "mapdown", "msgbox",
                              "close",  "resize"};

std::string VerbOf(const json& action) {
  for (const char* v : kVerbs)
    if (action.contains(v)) return v;
  return std::string();
}

HostError Malformed(size_t turn, size_t action, const std::string& what) {
  std::string where = "turn " + std::to_string(turn);
  if (action) where += ", action " + std::to_string(action);
  return HostError(5, "ScriptedPresenter", "Script " + where + ": " + what);
}

TrackedShape ShapeFrom(const json& j, size_t turn, size_t action) {
  TrackedShape s;
  auto numbers = [&](const json& a, size_t n, const char* what) {
    if (!a.is_array() || a.size() != n)
      throw Malformed(turn, action, std::string("\"") + what + "\" needs " + std::to_string(n) + " numbers");
    std::vector<double> v;
    for (const json& x : a) {
      if (!x.is_number()) throw Malformed(turn, action, std::string("\"") + what + "\" holds a value that is not a number");
      v.push_back(x.get<double>());
    }
    return v;
  };
  if (j.is_null()) return s;
  if (!j.is_object()) throw Malformed(turn, action, "a tracked shape is an object");
  if (j.contains("rectangle")) {
    auto v = numbers(j["rectangle"], 4, "rectangle");
    s.Kind = TrackKind::Rectangle;
    s.XMin = std::min(v[0], v[2]);
    s.YMin = std::min(v[1], v[3]);
    s.XMax = std::max(v[0], v[2]);
    s.YMax = std::max(v[1], v[3]);
    s.Empty = false;
  } else if (j.contains("polygon")) {
    const json& pts = j["polygon"];
    if (!pts.is_array()) throw Malformed(turn, action, "\"polygon\" is a list of [x, y] points");
    s.Kind = TrackKind::Polygon;
    for (const json& p : pts) {
      auto v = numbers(p, 2, "polygon point");
      s.Points.emplace_back(v[0], v[1]);
    }
    s.Closed = j.value("closed", true);
    s.Empty = s.Points.empty();
  } else if (j.contains("circle")) {
    auto v = numbers(j["circle"], 3, "circle");
    s.Kind = TrackKind::Circle;
    s.CenterX = v[0];
    s.CenterY = v[1];
    s.Radius = v[2];
    s.Empty = false;
  } else {
    throw Malformed(turn, action, "a tracked shape has \"rectangle\", \"polygon\" or \"circle\"");
  }
  return s;
}

void CheckAction(const json& a, size_t turn, size_t action) {
  if (!a.is_object()) throw Malformed(turn, action, "an action is an object such as {\"click\": \"NextButton\"}");
  std::string verb = VerbOf(a);
  if (verb.empty()) throw Malformed(turn, action, "unknown action " + a.dump());
  if (verb == "msgbox") {
    if (!a[verb].is_string() || MsgBoxAnswerFromName(a[verb].get<std::string>()) == 0)
      throw Malformed(turn, action, "a message box answer is \"OK\", \"Cancel\", \"Yes\" or \"No\"");
    return;
  }
  if (verb == "close") return;
  if (verb == "resize") {
    const json& v = a[verb];
    if (!v.is_array() || v.size() != 2 || !v[0].is_number() || !v[1].is_number())
      throw Malformed(turn, action, "\"resize\" takes [width, height] in twips");
    return;
  }
  if (!a[verb].is_string() || a[verb].get<std::string>().empty())
    throw Malformed(turn, action, "\"" + verb + "\" names a control");
  if ((verb == "type" || verb == "set") && !a.value("text", json()).is_string())
    throw Malformed(turn, action, "\"" + verb + "\" needs a \"text\"");
  if ((verb == "keypress" || verb == "keyup") && !a.value("key", json()).is_number_integer())
    throw Malformed(turn, action, "\"" + verb + "\" needs a numeric \"key\"");
  if ((verb == "toolbar" || verb == "buttonmenu") && !a.value("button", json()).is_string())
    throw Malformed(turn, action, "\"" + verb + "\" needs the \"button\" key");
  if (verb == "buttonmenu" && !a.value("menu", json()).is_string())
    throw Malformed(turn, action, "\"buttonmenu\" needs the \"menu\" key");
  if ((verb == "select" || verb == "deselect") && !a.contains("index") && !a.contains("item") && !a.contains("items"))
    throw Malformed(turn, action, "\"" + verb + "\" needs \"index\", \"item\" or \"items\"");
  if ((verb == "check" || verb == "itemclick" || verb == "tab") && !a.value("index", json()).is_number_integer())
    throw Malformed(turn, action, "\"" + verb + "\" needs a numeric \"index\"");
  if (verb == "mapdown") {
    const json& m = a.value("map", json());
    if (!m.is_array() || m.size() != 2 || !m[0].is_number() || !m[1].is_number())
      throw Malformed(turn, action, "\"mapdown\" needs \"map\": [x, y] in map units");
    if (a.contains("track")) ShapeFrom(a["track"], turn, action);
    if (a.contains("tracks")) {
      if (!a["tracks"].is_array()) throw Malformed(turn, action, "\"tracks\" is a list of shapes");
      for (const json& t : a["tracks"]) ShapeFrom(t, turn, action);
    }
  }
}

// Entries of a list named by an action: "index", "item" (first equal text) or
// "items" (several of either).
std::vector<long> EntriesOf(Form& form, const json& a, const std::string& control) {
  std::vector<json> wanted;
  if (a.contains("items") && a["items"].is_array())
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
    std::string text = w.is_string() ? w.get<std::string>() : w.dump();
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
  struct Turn {
    size_t Number = 0;
    std::string Form; // empty: a message box answer outside any form
    std::vector<json> Actions;
    int32_t Answer = 0;
  };
  std::deque<Turn> Turns;
  size_t Loaded = 0;
};

struct ScriptedPresenter::ActiveTurn {
  Script::Turn Turn;
  size_t Next = 0; // index of the next action
};

ScriptedPresenter::ScriptedPresenter() : m_script(std::make_unique<Script>()) {}
ScriptedPresenter::~ScriptedPresenter() = default;

void ScriptedPresenter::LoadScript(const std::string& text) {
  json doc;
  try {
    doc = json::parse(text);
  } catch (const json::exception& e) {
    throw HostError(5, "ScriptedPresenter", std::string("The script is not valid JSON: ") + e.what());
  }
  if (doc.is_object() && doc.contains("turns")) doc = doc["turns"];
  if (!doc.is_array()) throw HostError(5, "ScriptedPresenter", "A script is a list of turns (or an object with \"turns\")");
  std::deque<Script::Turn> turns;
  size_t number = m_script->Loaded;
  for (const json& t : doc) {
    ++number;
    Script::Turn turn;
    turn.Number = number;
    if (!t.is_object()) throw Malformed(number, 0, "a turn is an object with \"form\" and \"actions\", or \"msgbox\"");
    if (t.contains("msgbox") && !t.contains("form")) {
      CheckAction(t, number, 0);
      turn.Answer = MsgBoxAnswerFromName(t["msgbox"].get<std::string>());
      turns.push_back(turn);
      continue;
    }
    if (!t.value("form", json()).is_string() || t["form"].get<std::string>().empty())
      throw Malformed(number, 0, "a turn names its \"form\"");
    turn.Form = t["form"].get<std::string>();
    const json& actions = t.value("actions", json::array());
    if (!actions.is_array()) throw Malformed(number, 0, "\"actions\" is a list");
    size_t k = 0;
    for (const json& a : actions) {
      CheckAction(a, number, ++k);
      turn.Actions.push_back(a);
    }
    turns.push_back(std::move(turn));
  }
  m_script->Loaded = number;
  for (auto& t : turns) m_script->Turns.push_back(std::move(t));
}

void ScriptedPresenter::LoadScriptFile(const std::string& nativePath) {
  std::ifstream in(nativePath);
  if (!in) throw HostError(err::FileNotFound, "ScriptedPresenter", "Cannot read the script file " + nativePath);
  std::stringstream ss;
  ss << in.rdbuf();
  LoadScript(ss.str());
}

size_t ScriptedPresenter::PendingTurns() const { return m_script->Turns.size(); }

void ScriptedPresenter::CheckFinished() {
  for (const Script::Turn& t : m_script->Turns)
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
    if (a.contains("track")) m_tracks.push_back(ShapeFrom(a["track"], turn.Turn.Number, index + 1));
    if (a.contains("tracks"))
      for (const json& t : a["tracks"]) m_tracks.push_back(ShapeFrom(t, turn.Turn.Number, index + 1));
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
