#include "pages/WizardPage.h"

#include "PageFakes.h"
#include "TestWorld.h"
#include "pages/modi18N.h"
#include "store/Settings.h"

namespace tov {
namespace {

using namespace testing_pages;

// The controls in the layout's order.
const std::vector<std::string> kLayoutOrder = {"Frame1",       "HelpButton", "BackButton", "NextButton",
                                               "CancelButton", "NameText",   "Label1",     "Image1"};

// A page shaped like the name page: Next is enabled while the name is not
// empty, and "bad" is refused with a message while the page stays open.
class TestNamePage : public WizardPage {
public:
  TestNamePage() : WizardPage("TestNamePage", 1000, kLayoutOrder) {
    // Form order differs from the layout order on purpose.
    Add(ControlKind::Label, "Label1")->SetCaption("201");
    Add(ControlKind::TextBox, "NameText");
    Add(ControlKind::Frame, "Frame1");
    Add(ControlKind::Image, "Image1");
    Add(ControlKind::CommandButton, "HelpButton")->SetCaption("202");
    Add(ControlKind::CommandButton, "BackButton")->SetCaption("203");
    Add(ControlKind::CommandButton, "NextButton")->SetCaption("204");
    Add(ControlKind::CommandButton, "CancelButton")->SetCaption("205");
    On("NameText", EventKind::Change, [this](EventArgs&) { UpdateNext(); });
  }
  void ResetParams() override {
    WizardPage::ResetParams();
    UpdateNext();
  }
  void WriteToPropertySet(const TaskPropertySetPtr& set) override {
    if (set) set->SetProperty("SAName", Ctl("NameText")->Text());
  }

protected:
  bool CheckNext() override {
    if (Ctl("NameText")->Text() != "bad") return true;
    MsgBox(GetTextResources()->FindString("135"), vbExclamation, GetTextResources()->FindString("101"));
    return false;
  }

private:
  void UpdateNext() { Ctl("NextButton")->SetEnabled(!Ctl("NameText")->Text().empty()); }
};

class WizardPageTest : public ::testing::Test {
protected:
  void SetUp() override {
    FakeTexts::Table() = {{"101", "Study Area Name"}, {"135", "That name cannot be used."}, {"201", "Name:"},
                          {"204", "&Next >"}, {"", ""}};
    auto& layout = FakeLayout::Table();
    layout.clear();
    layout["1000"] = "2010";
    layout["1001"] = "5600";
    for (int id = 1002; id <= 1033; ++id) layout[std::to_string(id)] = std::to_string(id * 10);
    presenter = std::make_shared<ScriptedPresenter>();
    SetPresenter(presenter);
  }
  void TearDown() override { SetPresenter(nullptr); }

  // One showing as a task does it.
  int32_t Show(const std::shared_ptr<TestNamePage>& page, const TaskPropertySetPtr& set) {
    page->ResetParams();
    RestoreFormPosition(page, app, set, false);
    page->ShowModal();
    SaveFormPosition(page, set);
    page->WriteToPropertySet(set);
    return page->m_Result;
  }

  FakePages fakes;
  std::shared_ptr<RecordingCalls> calls = fakes.calls;
  std::shared_ptr<ScriptedPresenter> presenter;
  std::shared_ptr<FakeApplication> app = std::make_shared<FakeApplication>();
};

TEST_F(WizardPageTest, LoadingTranslatesTextsAndLaysControlsOutInTheirOrder) {
  auto page = std::make_shared<TestNamePage>();
  page->Load();
  EXPECT_EQ(std::tuple(page->Ctl("Label1")->Caption(), page->Ctl("NextButton")->Caption()),
            std::tuple(std::string("Name:"), std::string("&Next >")));
  EXPECT_EQ(std::tuple(page->Height(), page->Width()),
            std::tuple(2010 - 315 + calls->GetSystemMetrics(SM_CYCAPTION) * 15, 5600));
  for (int k = 0; k < 8; ++k) {
    ControlPtr c = page->Ctl(kLayoutOrder[k]);
    const int base = 1002 + 4 * k;
    EXPECT_EQ(std::vector<float>({c->Height(), c->Left(), c->Top(), c->Width()}),
              std::vector<float>({base * 10.0F, (base + 1) * 10.0F, (base + 2) * 10.0F, (base + 3) * 10.0F}))
        << kLayoutOrder[k];
  }
}

TEST_F(WizardPageTest, AMissingLayoutValueIsReportedByItsId) {
  FakeLayout::Table()["1013"] = "";
  auto page = std::make_shared<TestNamePage>();
  const test::Raised error = test::ErrorOf([&] { page->Load(); });
  EXPECT_TRUE(error.number == 13 && test::Has(error.description, "1013")) << error.number << " " << error.description;
}

TEST_F(WizardPageTest, ScriptDrivesThePageThroughNextBackCancelAndAMessage) {
  presenter->LoadScript(R"([
    {"form": "TestNamePage", "actions": [
      {"type": "NameText", "text": "bad"}, {"click": "NextButton"}, {"msgbox": "OK"},
      {"click": "HelpButton"}, {"click": "BackButton"}]},
    {"form": "TestNamePage", "actions": [{"click": "CancelButton"}]},
    {"form": "TestNamePage", "actions": [
      {"set": "NameText", "text": ""}, {"click": "NextButton"},
      {"type": "NameText", "text": "Mine"}, {"click": "NextButton"}]}
  ])");
  auto page = std::make_shared<TestNamePage>();
  auto set = std::make_shared<FakePropertySet>();
  EXPECT_EQ(Show(page, set), kPageBack);
  EXPECT_EQ(test::ShownMessages(*presenter),
            std::vector<std::string>{test::MessageOf("exclamation", "Study Area Name", "That name cannot be used.")});
  EXPECT_EQ(std::tuple(calls->helpTopic, calls->helpWindow),
            std::tuple(std::string("ABOUT_CREATE_STUDY_AREA"), page->hWnd()));
  EXPECT_EQ(set->values["SAName"].ToString(), "bad");

  EXPECT_EQ((std::vector<int32_t>{Show(page, set), Show(page, set)}), (std::vector<int32_t>{kPageCancel, kPageNext}));
  EXPECT_EQ(set->values["SAName"].ToString(), "Mine");
  // Next on an empty name could not be pressed.
  ASSERT_EQ(presenter->Errors().size(), 1u);
  EXPECT_NE(presenter->Errors()[0].find("disabled"), std::string::npos);
}

TEST_F(WizardPageTest, APageClosedByItsCloseBoxReportsCancel) {
  presenter->LoadScript(R"([{"form": "TestNamePage", "actions": [{"click": "BackButton"}]},
                            {"form": "TestNamePage", "actions": [{"type": "NameText", "text": "x"}, {"close": true}]}])");
  auto page = std::make_shared<TestNamePage>();
  // The third showing has no turn left: closed by the close box too.
  EXPECT_EQ((std::vector<int32_t>{Show(page, nullptr), Show(page, nullptr), Show(page, nullptr)}),
            (std::vector<int32_t>{kPageBack, kPageCancel, kPageCancel}));
  EXPECT_EQ(presenter->Errors().size(), 1u);
}

} // namespace
} // namespace tov
