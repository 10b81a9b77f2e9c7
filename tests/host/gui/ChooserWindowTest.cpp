// Study Area Setup in the window: the chooser's paths with the Qt presenter,
// where each page puts the keyboard, and the small dialogs of the manage page.
#include "QtApp.h"

#include "manage/SAContentsDialog.h"
#include "manage/SAEditNameDialog.h"

#include <QPlainTextEdit>

namespace tov::test {
namespace {

using ChooserWindowTest = WindowTest;

TEST_F(ChooserWindowTest, CreateGoesFromTheChooserToTheNamePageAndBackShowsTheChooserAgain) {
  int choosers = 0;
  HostTaskRunResult result = Run([&](Form& form, QWidget& dialog) {
    if (form.Name() == "CreateSAMainDialog") {
      ++choosers;
      return Press(dialog, "NextButton");
    }
    if (choosers == 1) return Press(dialog, "BackButton");
    Naming("Harbour")(form, dialog);
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"CreateSAMainDialog", "SelectSANameDialog", "CreateSAMainDialog",
                                             "SelectSANameDialog"}));
  EXPECT_TRUE(result.Stored());
  EXPECT_EQ(Catalog()->Count(), 1);
}

TEST_F(ChooserWindowTest, OpenMakesTheSavedStudyAreaCurrentAndRunsNoFunction) {
  Make("Harbour");
  Make("Midtown");
  ASSERT_EQ(CurrentStudyArea(), "Midtown");
  HostTaskRunResult result = Run([](Form&, QWidget& dialog) {
    Press(dialog, "OpenSAOption");
    // The combo lists the saved study areas; Harbour is the first.
    Press(dialog, "NextButton");
  });
  EXPECT_EQ(result.pageResult, -1);
  EXPECT_FALSE(result.initFunction);
  EXPECT_EQ(CurrentStudyArea(), "Harbour");
}

TEST_F(ChooserWindowTest, EachPageOpensWithTheKeyboardWhereTheUserWorksFirstAndEnterConfirmsANewName) {
  Make("Harbour");
  std::map<std::string, std::string> focus;
  Run([&](Form& form, QWidget& dialog) {
    focus[form.Name()] = FocusName(dialog);
    if (form.Name() == "CreateSAMainDialog") {
      Press(dialog, "ManageSAButton");
      return Press(dialog, "CancelButton");
    }
    if (form.Name() == "ManageSADialog") {
      Press(dialog, "RenameButton");
      return Press(dialog, "CloseButton");
    }
    Press(dialog, "CancelButton");
  });
  EXPECT_EQ(focus["CreateSAMainDialog"], "SATasksList");
  EXPECT_EQ(focus["ManageSADialog"], "SANamesList");
  EXPECT_EQ(focus["SAEditNameDialog"], "ToText");

  auto edit = std::make_shared<SAEditNameDialog>();
  edit->m_sNameToEdit = "Harbour";
  Played([&] { edit->ShowModal(); }, [](Form& form, QWidget& dialog) {
    Retype(dialog, "ToText", "Port");
    QTest::keyClick(dialog.findChild<QLineEdit*>("ToText"), Qt::Key_Return);
    EXPECT_FALSE(form.Visible()) << "Enter did not reach the form";
    if (form.Visible()) dialog.close();
  });
  EXPECT_EQ(edit->m_Result, 1);
  EXPECT_EQ(edit->NewName(), "Port");
  edit->Unload();

  // A box shown for reading only shows long texts on several lines and
  // leaves the keyboard to the buttons.
  auto contents = std::make_shared<SAContentsDialog>();
  contents->Ctl("ContentsText")->SetText("Harbour\r\nMidtown");
  QString shownText;
  bool readOnly = false;
  std::string focused;
  Played([&] { contents->ShowModal(); }, [&](Form&, QWidget& dialog) {
    if (auto* lines = dialog.findChild<QPlainTextEdit*>("ContentsText")) {
      shownText = lines->toPlainText();
      readOnly = lines->isReadOnly();
    }
    focused = FocusName(dialog);
    dialog.close();
  });
  contents->Unload();
  EXPECT_EQ(shownText, "Harbour\nMidtown");
  EXPECT_TRUE(readOnly);
  EXPECT_EQ(focused, "OKButton");
}

} // namespace
} // namespace tov::test
