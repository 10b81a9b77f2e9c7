#include "pages/modi18N.h"

#include "PageFakes.h"

namespace tov {
namespace {

using namespace testing_pages;

TEST(CleanToolTipTest, AccessKeysAndTrailingEllipsisGo) {
  for (const auto& [text, clean] : std::vector<std::pair<const char*, const char*>>{
           {"&Open...", "Open"}, {"  Save && &Close  ", "Save & Close"}, {"A&&&B", "A&B"},
           {"Wait... please", "Wait... please"}, {"&&...", "&"}, {"   ", ""}})
    EXPECT_EQ(CleanToolTip(text), clean) << text;
}

TEST(CutAtNulTest, TextEndsAtTheFirstNul) {
  EXPECT_EQ(CutAtNul(std::string("1251\0\0junk", 10)), "1251");
  EXPECT_EQ(CutAtNul("abc"), "abc");
  EXPECT_EQ(CutAtNul(std::string(16, '\0')), "");
}

// The designed name goes; East Asian code pages bring their own font and
// raise a smaller size to nine.
TEST(SetFontForCodePageTest, CharsetNameAndSizeFollowTheTable) {
  struct Case {
    long codePage;
    int charset;
    const char* name;
  } cases[] = {{1250, 238, ""}, {1251, 204, ""}, {1252, 0, ""},   {1253, 161, ""},  {1254, 162, ""},
               {1255, 177, ""}, {1256, 178, ""}, {1257, 186, ""}, {437, 1, ""},     {0, 1, ""},
               {932, 128, "ＭＳ Ｐゴシック"}, {936, 134, "宋体"}, {949, 129, "굴림"}, {950, 136, "新細明體"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.codePage);
    const bool eastAsian = *c.name != 0;
    for (float size : {7.0F, 8.0F, 12.0F}) {
      Font f;
      f.Name = "Designed";
      f.Size = size;
      SetFontForCodePage(f, c.codePage);
      EXPECT_EQ(std::tuple(f.Charset, f.Name, f.Size),
                std::tuple(c.charset, std::string(c.name), eastAsian && size < 9 ? 9.0F : size));
    }
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

// The texts of EveryKindForm in the order of their ids (10 to 30).
std::vector<std::string> Texts(Form& form) {
  auto list = form.CtlAs<ListControl>("List");
  const ToolbarButton& b = form.CtlAs<Toolbar>("Toolbar1")->Button(1);
  auto view = form.CtlAs<ListView>("View");
  auto tabs = form.CtlAs<TabStrip>("Tabs");
  return {form.Caption(), form.Ctl("Label1")->Caption(), form.Ctl("NameText")->Text(),
          form.Ctl("NameText")->ToolTipText(), form.Ctl("NextButton")->Caption(), form.Ctl("Opt")->Caption(),
          form.Ctl("Check")->Caption(), list->List(0), list->List(1), list->ToolTipText(),
          form.CtlAs<ListControl>("Combo")->List(0), form.Ctl("Frame1")->Caption(), form.Ctl("Image1")->ToolTipText(),
          b.Caption, b.ToolTipText, b.ButtonMenus[0].Text, view->Column(1).Text, view->Item(1).Text,
          view->Item(1).ToolTipText, tabs->TabAt(1).Caption, tabs->TabAt(1).ToolTipText};
}

// An unknown id shows what the resources return, and the walk goes on.
TEST_F(Modi18NTest, TextsOfEveryControlKindComeFromResourcesAndAnUnknownIdShowsWhatTheyReturn) {
  std::vector<std::string> expected;
  for (int id = 10; id <= 30; ++id) expected.push_back(id == 13 ? "Name" : "T" + std::to_string(id));
  for (const bool known : {true, false}) {
    if (!known) { FakeTexts::Table().erase("11"); expected[1] = "?11"; }
    auto form = std::make_shared<EveryKindForm>();
    ApplyResourceTexts(*form);
    EXPECT_EQ(Texts(*form), expected) << known;
  }
}

TEST_F(Modi18NTest, EnglishLocalesLeaveEveryFontAsDesigned) {
  for (uint32_t locale : {1033u, 2057u, 3081u, 4105u, 5129u, 6153u, 7177u, 8201u, 9225u, 10249u, 11273u, 12297u, 13321u}) {
    calls->SetLocale(locale);
    auto form = std::make_shared<EveryKindForm>();
    ApplyLocaleFonts(*form);
    EXPECT_EQ(form->GetFont(), Font()) << locale;
    for (const ControlPtr& c : form->Controls())
      EXPECT_TRUE(!c->HasFont() || c->GetFont() == Font()) << locale << " " << c->Name();
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
    const Font& f = c->GetFont();
    EXPECT_EQ(std::tuple(f.Charset, f.Name, f.Size), std::tuple(204, std::string(), Font().Size)) << c->Name();
  }
  EXPECT_EQ(withFont, 10); // image, image list, toolbar and map control have none
  EXPECT_EQ(GetAnsiCodePage(1049), 1251);
}

TEST_F(Modi18NTest, HelpGoesToTheNotesWindowWithTheTopic) {
  ShowHelpTopic("orva_csTovana.hlp", "ABOUT_CREATE_STUDY_AREA", 77);
  EXPECT_EQ(std::tuple(calls->helpWindow, calls->helpFile, calls->helpCommand, calls->helpTopic),
            std::tuple(77, std::string("orva_csTovana.hlp>notes"), 259u, std::string("ABOUT_CREATE_STUDY_AREA")));
}

} // namespace
} // namespace tov
