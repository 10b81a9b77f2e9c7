// User scripts: a script is either refused as a whole with HostError 5 and a
// message, or read; what is read, written out again as a script, reads back
// to the same turns, task, descriptor and extent. The presenter takes
// exactly the scripts the reader takes.
#include "FuzzSupport.h"

#include "host/forms/ScriptedPresenter.h"
#include "host/forms/UserScript.h"
#include "platform/forms/MsgBox.h"

#include <nlohmann/json.hpp>

#include <optional>

using namespace tov;
using namespace tov::fuzz;
using nlohmann::json;

namespace {

std::string AnswerName(int32_t answer) {
  for (const char* name : {"OK", "Cancel", "Yes", "No"})
    if (MsgBoxAnswerFromName(name) == answer) return name;
  Fail("a message box turn with the answer " + std::to_string(answer));
}

json Rebuild(const UserScript& script) {
  json turns = json::array();
  for (const auto& t : script.Turns()) {
    if (t.Form.empty()) {
      Require(t.Actions.empty(), "a message box turn with actions");
      turns.push_back({{"msgbox", AnswerName(t.Answer)}});
    } else {
      turns.push_back({{"form", t.Form}, {"actions", t.Actions}});
    }
  }
  json doc = {{"turns", turns}};
  if (script.Task()) doc["task"] = *script.Task();
  if (script.Descriptor()) doc["descriptor"] = *script.Descriptor();
  if (script.Extent()) doc["extent"] = *script.Extent();
  return doc;
}

void CheckShape(const UserScript& script) {
  size_t number = 0;
  for (const auto& t : script.Turns()) {
    Require(t.Number == ++number, "turns are not numbered one after another");
    Require(!t.Form.empty() || t.Answer != 0, "a turn with neither a form nor an answer");
    for (const auto& a : t.Actions) Require(a.is_object() && !a.empty(), "an action that is not an object");
  }
  Require(script.LastTurnNumber() == number, "the last turn's number is not the number of turns");
  if (const auto& e = script.Extent()) Require((*e)[0] < (*e)[2] && (*e)[1] < (*e)[3], "an extent upside down");
  if (const auto& task = script.Task()) Require(!task->empty(), "an empty task");
}

bool SameScript(const UserScript& a, const UserScript& b) {
  if (a.Turns().size() != b.Turns().size() || a.Task() != b.Task() || a.Descriptor() != b.Descriptor() ||
      a.Extent() != b.Extent() || a.LastTurnNumber() != b.LastTurnNumber())
    return false;
  for (size_t i = 0; i < a.Turns().size(); ++i) {
    const auto& x = a.Turns()[i];
    const auto& y = b.Turns()[i];
    if (x.Number != y.Number || x.Form != y.Form || x.Answer != y.Answer || x.Actions != y.Actions) return false;
  }
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = Text(data, size);
  std::optional<UserScript> script;
  try {
    script = UserScript::Parse(text);
  } catch (const HostError& e) {
    CheckRefusal(e, "Parse");
    Require(e.Number() == err::InvalidCall, "a script refused with " + std::to_string(e.Number()));
  }

  bool presenterTook = true;
  try {
    ScriptedPresenter presenter;
    presenter.LoadScript(text);
  } catch (const HostError& e) {
    CheckRefusal(e, "LoadScript");
    presenterTook = false;
  }
  Require(presenterTook == script.has_value(), "the presenter and the reader disagree on a script");
  if (!script) return 0;

  CheckShape(*script);
  const std::string written = Rebuild(*script).dump();
  try {
    UserScript again = UserScript::Parse(written);
    Require(SameScript(*script, again), "a script written back reads as another script: " + written);
  } catch (const HostError& e) {
    Fail("a script written back is refused: " + e.Description() + "\n" + written);
  }
  return 0;
}
