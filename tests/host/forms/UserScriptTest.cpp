// Scripts are read and checked before anything runs: every fault is refused
// in the program's own words with the turn and action where it is.
#include "host/forms/UserScript.h"

#include "Errors.h"
#include "Prelude.h"

namespace tov {
namespace {

// The description of the refusal, or "" when the script was accepted.
std::string Refusal(const std::string& text) {
  const test::Raised r = test::ErrorOf([&] { UserScript::Parse(text); });
  EXPECT_EQ(r.raised ? r.number : 5, 5);
  return r.description;
}

// Two turns; the second holds the action under test.
std::string WithAction(const std::string& action) {
  return R"({"turns": [{"form": "A", "actions": [{"click": "NextButton"}]},
                      {"form": "B", "actions": [)" + action + "]}]}";
}

TEST(UserScriptTest, NestingBeyondTheLimitIsRefusedWithoutRecursion) {
  const std::string deep = std::string(20000, '[') + std::string(20000, ']');
  EXPECT_EQ(Refusal(deep), "turn 1: the script is nested deeper than 64 levels");

  std::string nestedText = "\"x\"";
  for (int i = 0; i < 70; ++i) nestedText = "{\"a\": " + nestedText + "}";
  EXPECT_EQ(Refusal(WithAction(R"({"type": "T", "text": )" + nestedText + "}")),
            "turn 2, action 1: the script is nested deeper than 64 levels");

  // The deepest script the format has stays well inside the limit.
  EXPECT_EQ(Refusal(WithAction(R"({"mapdown": "MapControl", "map": [0, 0],
                                   "tracks": [{"polygon": [[0, 0], [1, 0], [1, 1]]}]})")),
            "");
}

TEST(UserScriptTest, MalformedScriptsNameTheirPlaceInTheProgramsWords) {
  struct Case {
    std::string script;
    std::string refusal; // the start of the description
  };
  const Case cases[] = {
      {WithAction(R"({"click": 3})"), R"(turn 2, action 1: "click" must be the name of a control, not a number)"},
      {WithAction(R"({"click": "Next", "type": "T", "text": "a"})"),
       R"(turn 2, action 1: one action has one verb, this one has "click" and "type")"},
      {WithAction(R"({"click": "Next", "index": 2})"), R"(turn 2, action 1: unknown key "index" in a "click" action)"},
      {WithAction(R"({"jump": "Next"})"), "turn 2, action 1: no action verb in"},
      {WithAction(R"({"type": "T"})"), R"(turn 2, action 1: "type" needs a "text")"},
      {WithAction(R"({"select": "L", "items": [true]})"), R"(turn 2, action 1: "items" must be a list of entry)"},
      {WithAction(R"({"mapdown": "M", "map": [0, 0], "button": "left"})"),
       R"(turn 2, action 1: "button" must be a whole number, not text)"},
      {WithAction(R"({"mapdown": "M", "map": [0, 0], "track": {"square": [0, 0, 1]}})"),
       "turn 2, action 1: a tracked shape has one of"},
      {WithAction(R"({"close": "yes"})"), R"(turn 2, action 1: "close" must be true, not text)"},
      {WithAction("{\"type\": \"T\", \"text\": \"ab\xff\"}"), "turn 2, action 1: the text at line 2, column"},
      {WithAction(R"({"click": "A", "click": "B"})"), R"(turn 2, action 1: the key "click" is given twice)"},
      {R"([{"form": "A", "action": []}])", R"(turn 1: unknown key "action" in a form turn)"},
      {R"([{"form": "A"}, {"msgbox": "Yes", "form2": "B"}])", R"(turn 2: unknown key "form2")"},
      {R"([{"form": 7}])", R"(turn 1: "form" must be the name of a form, not a number)"},
      {R"({"turns": [], "extnt": [0, 0, 1, 1]})", R"(unknown key "extnt" in the script)"},
      {R"({"extent": [0, 0, 1]})", R"("extent" must be [XMIN, YMIN, XMAX, YMAX])"},
      {R"({"extent": [5, 0, 1, 1]})", R"("extent" needs XMIN below XMAX)"},
      {R"({"task": ""})", R"("task" must be the ProgID of a task)"},
      {R"([{"form": "A", "actions": [{"click": "B"})", "turn 1, action 1: the script is not valid JSON at line 1, column"},
  };
  for (const Case& c : cases) {
    const std::string refusal = Refusal(c.script);
    EXPECT_EQ(refusal.rfind(c.refusal, 0), 0u) << c.script << "\n  gave: " << refusal;
    EXPECT_EQ(refusal.find("json"), std::string::npos) << refusal; // not the library's words
  }
}

TEST(UserScriptTest, AScriptIsReadOnceWithItsCommandLineKeys) {
  UserScript script = UserScript::Parse(R"({
    "task": "TovSSA.TovSSACurExtentTask", "descriptor": "SetupStudyArea.CurrentExtent",
    "extent": [-74.3, 40.45, -73.65, 40.95],
    "turns": [{"form": "SelectSANameDialog", "actions": [{"type": "StudyAreaNameText", "text": "Ünïcode"},
                                                         {"click": "NextButton"}]},
              {"msgbox": "yes"}]})",
                                        4);
  EXPECT_EQ(script.Task().value_or("") + " " + script.Descriptor().value_or(""),
            "TovSSA.TovSSACurExtentTask SetupStudyArea.CurrentExtent");
  ASSERT_TRUE(script.Extent());
  EXPECT_EQ((*script.Extent())[2], -73.65);
  ASSERT_EQ(script.Turns().size(), 2u);
  EXPECT_EQ(std::make_tuple(script.Turns()[0].Number, script.Turns()[1].Form, script.LastTurnNumber()),
            std::make_tuple(4u, "", 5u));
  EXPECT_EQ(script.Turns()[0].Actions.at(0).at("text"), "Ünïcode");
  EXPECT_NE(script.Turns()[1].Answer, 0);
  EXPECT_FALSE(UserScript::Parse("[]").Task());
}

} // namespace
} // namespace tov
