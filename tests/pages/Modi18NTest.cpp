#include "pages/modi18N.h"

#include "PageFakes.h"

namespace tov {
namespace {

using namespace testing_pages;

TEST(CleanToolTipTest, AccessKeysAndTrailingEllipsisGo) {
  EXPECT_EQ(CleanToolTip("&Open..."), "Open");
  EXPECT_EQ(CleanToolTip("  Save && &Close  "), "Save & Close");
  EXPECT_EQ(CleanToolTip("A&&&B"), "A&B");
  EXPECT_EQ(CleanToolTip("Wait... please"), "Wait... please");
  EXPECT_EQ(CleanToolTip("&&..."), "&");
  EXPECT_EQ(CleanToolTip("   "), "");
}

TEST(CutAtNulTest, TextEndsAtTheFirstNul) {
  EXPECT_EQ(CutAtNul(std::string("1251\0\0junk", 10)), "1251");
  EXPECT_EQ(CutAtNul("abc"), "abc");
  EXPECT_EQ(CutAtNul(std::string(16, '\0')), "");
}

TEST(SetFontForCodePageTest, CharsetNameAndSizeFollowTheTable) {
  struct Case {
    long codePage;
    int charset;
    const char* name;
  } cases[] = {{1250, 238, ""}, {1251, 204, ""}, {1252, 0, ""},   {1253, 161, ""}, {1254, 162, ""},
               {1255, 177, ""}, {1256, 178, ""}, {1257, 186, ""}, {437, 1, ""},    {0, 1, ""}};
  for (const Case& c : cases) {
    Font f;
    f.Name = "Designed";
    f.Size = 7;
    SetFontForCodePage(f, c.codePage);
    EXPECT_EQ(f.Charset, c.charset) << c.codePage;
    EXPECT_EQ(f.Name, c.name) << c.codePage;
    EXPECT_EQ(f.Size, 7) << c.codePage;
  }
}

TEST(SetFontForCodePageTest, EastAsianFontsAndSizeRaisedToNineOnlyWhenSmaller) {
  struct Case {
    long codePage;
    int charset;
    const char* name;
  } cases[] = {{932, 128, "ＭＳ Ｐゴシック"}, {936, 134, "宋体"}, {949, 129, "굴림"}, {950, 136, "新細明體"}};
  for (const Case& c : cases) {
    Font small;
    small.Size = 8;
    SetFontForCodePage(small, c.codePage);
    EXPECT_EQ(small.Charset, c.charset);
    EXPECT_EQ(small.Name, c.name);
    EXPECT_EQ(small.Size, 9);
    Font large;
    large.Size = 12;
    SetFontForCodePage(large, c.codePage);
    EXPECT_EQ(large.Size, 12);
  }
}

// One control of every kind, each holding resource ids as designed.
class EveryKindForm : public Form {
public:
  EveryKindForm() : Form("EveryKindForm") {
    SetCaption("10");
    Add(ControlKind::Label, "Label1")->SetCaption("11");
    auto text = Add(ControlKind::TextBox, "NameText");
    text->SetText("12");
    text->SetToolTipText("13");
    Add(ControlKind::CommandButton, "NextButton")->SetCaption("14");
    Add(ControlKind::OptionButton, "Opt")->SetCaption("15");
    Add(ControlKind::CheckBox, "Check")->SetCaption("16");
    auto list = AddListBox("List");
    list->AddItem("17");
    list->AddItem("18");
    list->SetToolTipText("19");
    AddComboBox("Combo")->AddItem("20");
    Add(ControlKind::Frame, "Frame1")->SetCaption("21");
    Add(ControlKind::Image, "Image1")->SetToolTipText("22");
    auto bar = AddToolbar("Toolbar1");
    ToolbarButton& b = bar->AddButton("Zoom", "23");
    b.ToolTipText = "24";
    b.ButtonMenus.push_back(ButtonMenu{"m", "25"});
    auto view = AddListView("View");
    view->AddColumn("c", "26");
    view->AddItem("i", "27");
    view->SetItemToolTip(1, "28");
    auto tabs = AddTabStrip("Tabs");
    tabs->AddTab("t", "29");
    tabs->SetTabToolTip(1, "30");
    AddImageList("ImageList1");
    AddMapControl("MapControl");
  }
};

class Modi18NTest : public ::testing::Test {
protected:
  void SetUp() override {
    FakeTexts::Table().clear();
    for (int id = 10; id <= 30; ++id) FakeTexts::Table()[std::to_string(id)] = "T" + std::to_string(id);
    FakeTexts::Table()["13"] = " &Name... ";
  }
  FakePages fakes;
  std::shared_ptr<RecordingCalls> calls = fakes.calls;
};

TEST_F(Modi18NTest, TextsOfEveryControlKindComeFromResources) {
  auto form = std::make_shared<EveryKindForm>();
  ApplyResourceTexts(*form);
  EXPECT_EQ(form->Caption(), "T10");
  EXPECT_EQ(form->Ctl("Label1")->Caption(), "T11");
  EXPECT_EQ(form->Ctl("NameText")->Text(), "T12");
  EXPECT_EQ(form->Ctl("NameText")->ToolTipText(), "Name");
  EXPECT_EQ(form->Ctl("NextButton")->Caption(), "T14");
  EXPECT_EQ(form->Ctl("Opt")->Caption(), "T15");
  EXPECT_EQ(form->Ctl("Check")->Caption(), "T16");
  auto list = form->CtlAs<ListControl>("List");
  EXPECT_EQ(list->List(0), "T17");
  EXPECT_EQ(list->List(1), "T18");
  EXPECT_EQ(list->ToolTipText(), "T19");
  EXPECT_EQ(form->CtlAs<ListControl>("Combo")->List(0), "T20");
  EXPECT_EQ(form->Ctl("Frame1")->Caption(), "T21");
  EXPECT_EQ(form->Ctl("Image1")->ToolTipText(), "T22");
  const ToolbarButton& b = form->CtlAs<Toolbar>("Toolbar1")->Button(1);
  EXPECT_EQ(b.Caption, "T23");
  EXPECT_EQ(b.ToolTipText, "T24");
  EXPECT_EQ(b.ButtonMenus[0].Text, "T25");
  auto view = form->CtlAs<ListView>("View");
  EXPECT_EQ(view->Column(1).Text, "T26");
  EXPECT_EQ(view->Item(1).Text, "T27");
  EXPECT_EQ(view->Item(1).ToolTipText, "T28");
  auto tabs = form->CtlAs<TabStrip>("Tabs");
  EXPECT_EQ(tabs->TabAt(1).Caption, "T29");
  EXPECT_EQ(tabs->TabAt(1).ToolTipText, "T30");
}

TEST_F(Modi18NTest, AnUnknownIdShowsWhatTheResourcesReturn) {
  FakeTexts::Table().erase("11");
  auto form = std::make_shared<EveryKindForm>();
  ApplyResourceTexts(*form);
  EXPECT_EQ(form->Ctl("Label1")->Caption(), "?11");
  EXPECT_EQ(form->Ctl("NextButton")->Caption(), "T14"); // the walk went on
}

TEST_F(Modi18NTest, EnglishLocalesLeaveEveryFontAsDesigned) {
  for (uint32_t locale : {1033u, 2057u, 3081u, 4105u, 5129u, 6153u, 7177u, 8201u, 9225u, 10249u, 11273u, 12297u, 13321u}) {
    calls->SetLocale(locale);
    auto form = std::make_shared<EveryKindForm>();
    ApplyLocaleFonts(*form);
    EXPECT_EQ(form->GetFont(), Font()) << locale;
    for (const ControlPtr& c : form->Controls()) {
      if (c->HasFont()) {
        EXPECT_EQ(c->GetFont(), Font()) << locale << " " << c->Name();
      }
    }
  }
}

TEST_F(Modi18NTest, CyrillicLocaleGivesEveryControlWithAFontCharset204) {
  calls->SetLocale(1049);
  auto form = std::make_shared<EveryKindForm>();
  ApplyLocaleFonts(*form);
  EXPECT_EQ(form->GetFont().Name, "");
  int withFont = 0;
  for (const ControlPtr& c : form->Controls()) {
    if (!c->HasFont()) continue;
    ++withFont;
    EXPECT_EQ(c->GetFont().Charset, 204) << c->Name();
    EXPECT_EQ(c->GetFont().Name, "") << c->Name();
    EXPECT_EQ(c->GetFont().Size, Font().Size) << c->Name();
  }
  EXPECT_EQ(withFont, 10); // image, image list, toolbar and map control have none
  EXPECT_EQ(GetAnsiCodePage(1049), 1251);
}

TEST_F(Modi18NTest, HelpGoesToTheNotesWindowWithTheTopic) {
  ShowHelpTopic("orva_csTovana.hlp", "ABOUT_CREATE_STUDY_AREA", 77);
  EXPECT_EQ(calls->helpWindow, 77);
  EXPECT_EQ(calls->helpFile, "orva_csTovana.hlp>notes");
  EXPECT_EQ(calls->helpCommand, 259u);
  EXPECT_EQ(calls->helpTopic, "ABOUT_CREATE_STUDY_AREA");
}

} // namespace
} // namespace tov
