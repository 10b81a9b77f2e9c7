// The presenter that plays scripted turns: typing, clicks, message boxes,
// the map and lists, and what it counts as an error.
#include "host/forms/ScriptedPresenter.h"

#include "Errors.h"
#include "Prelude.h"

namespace tov {
namespace {

// A small page: Next is enabled while the text is not empty; "bad" is
// refused with a message; Delete asks Yes/No first.
class NamePage : public Form {
public:
  NamePage() : Form("NamePage") {
    Add(ControlKind::TextBox, "NameText");
    Add(ControlKind::CommandButton, "NextButton")->SetEnabled(false);
    Add(ControlKind::CommandButton, "DeleteButton");
    AddListBox("Names", 1);
    AddMapControl("MapControl");
    On("NameText", EventKind::Change, [this](EventArgs&) {
      ++changes;
      Ctl("NextButton")->SetEnabled(!Ctl("NameText")->Text().empty());
    });
    On("NextButton", EventKind::Click, [this](EventArgs&) {
      if (Ctl("NameText")->Text() == "bad") {
        MsgBox("Refused", vbExclamation, "Name");
        return;
      }
      result = 1;
      Hide();
    });
    On("DeleteButton", EventKind::Click, [this](EventArgs&) {
      answer = MsgBox("Delete?", vbYesNo + vbQuestion, "Confirm");
    });
    On("MapControl", EventKind::OnMouseDown, [this](EventArgs& a) {
      mapX = a.MapX;
      shape = GetPresenter()->Track(TrackKind::Rectangle);
    });
  }
  int changes = 0, result = -1, answer = 0;
  double mapX = 0;
  TrackedShape shape;
};

class ScriptedPresenterTest : public ::testing::Test {
protected:
  void SetUp() override {
    presenter = std::make_shared<ScriptedPresenter>();
    SetPresenter(presenter);
  }
  void TearDown() override { SetPresenter(nullptr); }
  // Loads the script (none: "") and shows a new page, prepared first.
  std::shared_ptr<NamePage> Play(const std::string& script, const std::function<void(NamePage&)>& prepare = {}) {
    if (!script.empty()) presenter->LoadScript(script);
    auto page = std::make_shared<NamePage>();
    if (prepare) prepare(*page);
    page->ShowModal();
    return page;
  }
  // The one error the script ran into names `what`.
  void ExpectOneError(const std::string& what) {
    ASSERT_EQ(presenter->Errors().size(), 1u);
    EXPECT_TRUE(test::Has(presenter->Errors()[0], what)) << presenter->Errors()[0];
  }
  std::shared_ptr<ScriptedPresenter> presenter;
};

TEST_F(ScriptedPresenterTest, TypingFiresOneChangePerCharacterAndMessagesAreRecorded) {
  auto page = Play(R"({"turns": [
    {"form": "NamePage", "actions": [
      {"type": "NameText", "text": "bad"},
      {"click": "NextButton"}, {"msgbox": "OK"},
      {"type": "NameText", "text": "\b\b\bok"},
      {"click": "DeleteButton"}, {"msgbox": "Yes"},
      {"click": "NextButton"}]}]})");
  EXPECT_EQ(std::make_tuple(page->changes, page->Ctl("NameText")->Text(), page->result, page->answer),
            std::make_tuple(3 + 3 + 2, "ok", 1, vbYes));
  std::vector<std::string> messages;
  for (const auto& m : presenter->Messages())
    messages.push_back(m.Icon + "|" + m.Title + "|" + m.Text + "|" + m.Buttons);
  EXPECT_EQ(messages, (std::vector<std::string>{"exclamation|Name|Refused|OK", "question|Confirm|Delete?|YesNo"}));
  ASSERT_EQ(presenter->ShownForms().size(), 1u);
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors()[0];
}

TEST_F(ScriptedPresenterTest, AFormWithoutATurnIsClosedByItsCloseBoxAndCountsAsAnError) {
  auto page = Play("");
  EXPECT_TRUE(!page->Visible() && page->result == -1);
  ExpectOneError("NamePage");
}

TEST_F(ScriptedPresenterTest, ATurnForAnotherFormIsKeptForThatForm) {
  Play(R"([{"form": "OtherPage", "actions": []}])");
  EXPECT_EQ(presenter->Errors().size(), 1u);
  EXPECT_EQ(presenter->PendingTurns(), 1u);
  presenter->CheckFinished();
  EXPECT_EQ(presenter->Errors().size(), 2u);
}

TEST_F(ScriptedPresenterTest, ClickingADisabledControlIsAnErrorAndRaisesNothing) {
  auto page = Play(R"([{"form": "NamePage", "actions": [{"click": "NextButton"}, {"close": true}]}])");
  EXPECT_EQ(page->result, -1);
  ExpectOneError("disabled");
}

TEST_F(ScriptedPresenterTest, ALockedBoxHearsTheKeysButKeepsItsTextAndRefusesAPaste) {
  int keys = 0, changes = 0;
  auto page = Play(R"([{"form": "NamePage", "actions": [
      {"type": "NameText", "text": "ab"}, {"set": "NameText", "text": "cd"}, {"close": true}]}])", [&](NamePage& page) {
    page.Ctl("NameText")->SetText("kept");
    page.Ctl("NameText")->SetLocked(true);
    page.On("NameText", EventKind::KeyPress, [&keys](EventArgs&) { ++keys; });
    changes = page.changes;
  });
  EXPECT_EQ(std::make_tuple(page->Ctl("NameText")->Text(), page->changes, keys), std::make_tuple("kept", changes, 2));
  ExpectOneError("read-only");
}

TEST_F(ScriptedPresenterTest, UnansweredQuestionAnswersNoAndAWrongAnswerIsRefused) {
  auto page = Play(R"([{"form": "NamePage", "actions": [
      {"click": "DeleteButton"}, {"click": "DeleteButton"}, {"msgbox": "OK"}, {"close": true}]}])");
  EXPECT_EQ(page->answer, vbNo);
  EXPECT_EQ(presenter->Errors().size(), 2u);
  // Outside any form a message box takes a message-box turn.
  presenter->LoadScript(R"([{"msgbox": "Cancel"}])");
  EXPECT_EQ(MsgBox("Go on?", vbOKCancel), vbCancel);
}

TEST_F(ScriptedPresenterTest, MapMouseDownHandsTheScriptedShapeToTheTrackCall) {
  auto page = Play(R"([{"form": "NamePage", "actions": [
      {"mapdown": "MapControl", "map": [5, 6], "track": {"rectangle": [3, 4, 1, 2]}},
      {"select": "Names", "items": []}, {"close": true}]}])");
  EXPECT_EQ(std::make_tuple(page->mapX, page->shape.Empty, page->shape.XMin, page->shape.YMax),
            std::make_tuple(5.0, false, 1.0, 4.0));
  EXPECT_TRUE(presenter->Errors().empty());
}

TEST_F(ScriptedPresenterTest, SelectingEntriesByTextAndIndex) {
  auto page = Play(R"([{"form": "NamePage", "actions": [
      {"select": "Names", "items": ["b", 2]}, {"deselect": "Names", "item": "b"}, {"close": true}]}])",
                   [](NamePage& page) {
    for (const char* s : {"a", "b", "c"}) page.CtlAs<ListControl>("Names")->AddItem(s);
  });
  auto names = page->CtlAs<ListControl>("Names");
  EXPECT_TRUE(!names->Selected(1) && names->Selected(2));
  EXPECT_TRUE(presenter->Errors().empty());
}

TEST_F(ScriptedPresenterTest, MalformedScriptsAreRefusedWithTheirPlace) {
  auto refuse = [&](const std::string& json, const std::string& where) {
    const test::Raised r = test::ErrorOf([&] { presenter->LoadScript(json); });
    EXPECT_TRUE(r.raised && test::Has(r.description, where)) << json << ": " << r.description;
  };
  refuse("{", "not valid JSON");
  refuse(R"([{"actions": []}])", "turn 1");
  refuse(R"([{"form": "A", "actions": [{"click": "X"}, {"jump": "X"}]}])", "turn 1, action 2");
  refuse(R"([{"form": "A"}, {"form": "B", "actions": [{"msgbox": "Maybe"}]}])", "turn 2, action 1");
  refuse(R"([{"form": "A", "actions": [{"mapdown": "M", "map": [1]}]}])", "map");
  EXPECT_EQ(presenter->PendingTurns(), 0u);
}

} // namespace
} // namespace tov
