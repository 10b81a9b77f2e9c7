// Forms as the pages use them: loading, events, lists, toolbars and what
// the presenter hears.
#include "Errors.h"
#include "Prelude.h"

namespace tov {
namespace {

using test::ErrorOf;

// A presenter that records what it is told and closes every form at once.
class RecordingPresenter : public Presenter {
public:
  std::vector<std::pair<std::string, Property>> changes;
  int shows = 0;
  void ShowModal(Form& form) override {
    ++shows;
    if (onShow) onShow(form);
    form.Hide();
  }
  void Hide(Form&) override {}
  int32_t MsgBox(const std::string&, int32_t, const std::string&) override { return 1; }
  void PropertyChanged(Form&, Control* c, Property p) override { changes.emplace_back(c ? c->Name() : "", p); }
  TrackedShape Track(TrackKind) override { return {}; }
  std::function<void(Form&)> onShow;
};

class CountingForm : public Form {
public:
  CountingForm() : Form("CountingForm") {
    Add(ControlKind::TextBox, "NameText");
    // Design-time settings must not load the form.
    Ctl("NameText")->SetText("101");
    Add(ControlKind::OptionButton, "A");
    Add(ControlKind::OptionButton, "B");
    Add(ControlKind::OptionButton, "C")->SetContainer("Frame2");
    On("NameText", EventKind::Change, [this](EventArgs&) { ++changes; });
    On("A", EventKind::Click, [this](EventArgs&) { ++clicksA; });
  }
  int loads = 0, activates = 0, resizes = 0, changes = 0, clicksA = 0;

protected:
  void Form_Load() override {
    ++loads;
    Ctl("NameText")->SetText("loaded"); // no recursion while loading
  }
  void Form_Activate() override { ++activates; }
  void Form_Resize() override { ++resizes; }
};

class FormTest : public ::testing::Test {
protected:
  void SetUp() override { SetPresenter(presenter); }
  void TearDown() override { SetPresenter(nullptr); }
  std::shared_ptr<RecordingPresenter> presenter = std::make_shared<RecordingPresenter>();
  std::shared_ptr<CountingForm> form = std::make_shared<CountingForm>();
};

TEST_F(FormTest, TouchingAControlOfAnUnloadedFormLoadsItOnce) {
  EXPECT_EQ(form->loads, 0);
  EXPECT_EQ(form->Ctl("NameText")->Text(), "loaded");
  form->Ctl("A")->Enabled();
  form->ShowModal();
  EXPECT_EQ(form->loads, 1);
  // A program that sets a text fires Change once; the same text fires nothing.
  int before = form->changes;
  form->Ctl("NameText")->SetText("x");
  form->Ctl("NameText")->SetText("x");
  EXPECT_EQ(form->changes, before + 1);
}

TEST_F(FormTest, EveryShowingActivatesAndTheFirstResizes) {
  form->ShowModal();
  form->ShowModal();
  EXPECT_EQ(std::make_tuple(form->activates, form->resizes), std::make_tuple(2, 1));
  form->SetWidth(9000);
  form->SetWidth(9000);
  EXPECT_EQ(form->resizes, 2);
  EXPECT_FALSE(form->Visible());
}

TEST_F(FormTest, ShowingAVisibleFormModallyFails) {
  long number = 0;
  presenter->onShow = [&](Form& f) { number = ErrorOf([&] { f.ShowModal(); }).number; };
  form->ShowModal();
  EXPECT_EQ(number, 400);
}

TEST_F(FormTest, OptionButtonsExcludeEachOtherWithinTheirContainer) {
  form->Ctl("C")->SetValue(1);
  form->Ctl("B")->SetValue(1);
  form->Ctl("A")->SetValue(1);
  // C is in another container.
  EXPECT_EQ(std::make_tuple(form->Ctl("A")->Value(), form->Ctl("B")->Value(), form->Ctl("C")->Value()),
            std::make_tuple(1, 0, 1));
  EXPECT_EQ(form->clicksA, 1);
  form->Ctl("A")->SetValue(1); // already set: no second Click
  EXPECT_EQ(form->clicksA, 1);
}

TEST_F(FormTest, MissingPropertiesAndControlsRaiseTheirErrors) {
  auto img = form->Add(ControlKind::Image, "Image1");
  EXPECT_EQ(ErrorOf([&] { img->Caption(); }).number, kErrNoSuchMember);
  EXPECT_THROW(img->GetFont(), HostError);
  EXPECT_EQ(ErrorOf([&] { form->Ctl("Nothing"); }).number, kErrControlNotFound);
  EXPECT_THROW(form->Add(ControlKind::Label, "nametext"), HostError); // names ignore case
}

TEST_F(FormTest, MultiSelectListKeepsSelectionAndCurrentEntryInStepWithRemovals) {
  auto list = form->AddListBox("Regions", 2);
  // The current entry, how many are selected and which, how many there are.
  auto state = [&] {
    std::string selected;
    for (int i = 0; i < list->ListCount(); ++i) selected += list->Selected(i) ? '1' : '0';
    return std::make_tuple(list->ListIndex(), list->SelCount(), selected);
  };
  for (const char* s : {"a", "b", "c", "d"}) list->AddItem(s);
  list->SetSelected(1, true);
  list->SetSelected(3, true);
  EXPECT_EQ(state(), std::make_tuple(3, 2, std::string("0101")));
  list->RemoveItem(1);
  EXPECT_EQ(state(), std::make_tuple(2, 1, std::string("001")));
  list->RemoveItem(2);
  EXPECT_EQ(state(), std::make_tuple(-1, 0, std::string("00")));
  EXPECT_EQ(list->List(7), ""); // past the end reads empty
  EXPECT_THROW(list->RemoveItem(7), HostError);
}

TEST_F(FormTest, ToolbarGroupButtonsExcludeEachOtherAndCheckButtonsToggle) {
  auto bar = form->AddToolbar("Toolbar1");
  bar->AddButton("SelectFeature", "", tbr::ButtonGroup);
  bar->AddButton("Pan", "", tbr::ButtonGroup);
  bar->AddButton("", "", tbr::Separator);
  bar->AddButton("ShowLabels", "", tbr::Check);
  bar->PressByUser(1);
  bar->PressByUser(2);
  bar->PressByUser(4);
  EXPECT_EQ(std::make_tuple(bar->Button("selectfeature").Value, bar->Button("Pan").Value,
                            bar->Button("ShowLabels").Value),
            std::make_tuple(0, 1, 1));
  bar->PressByUser(4);
  EXPECT_EQ(bar->Button("ShowLabels").Value, 0);
  EXPECT_THROW(bar->Button("Nope"), HostError);
}

TEST_F(FormTest, PresenterHearsProgramChangesOnlyWhileTheFormIsShown) {
  form->Ctl("NameText")->SetEnabled(false); // not shown: nobody to tell
  presenter->onShow = [&](Form& f) {
    f.Ctl("NameText")->SetEnabled(true);
    Form::UserEdit echo(f, f.Ctl("NameText").get(), Property::Text);
    f.Ctl("NameText")->SetText("typed"); // the presenter's own edit
  };
  form->ShowModal();
  EXPECT_EQ(presenter->changes, (std::vector<std::pair<std::string, Property>>{{"NameText", Property::Enabled}}));
}

} // namespace
} // namespace tov
