// Study Area Setup in the window: the chooser's paths with the Qt presenter,
// and the layer tree's menu on a study area layer.
#include "QtApp.h"

#include "host/gui/MainWindow.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"
#include "manage/SAContentsDialog.h"
#include "manage/SAEditNameDialog.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace tov::test {
namespace {

class ChooserWindowTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    RegisterHostStudyAreaClasses(); // the property sheet
  }
  static void Name(QWidget& dialog, const char* name) {
    QTest::keyClicks(dialog.findChild<QLineEdit*>("StudyAreaNameText"), name);
    Press(dialog, "NextButton");
  }
  // A study area made through the chooser.
  void Make(const char* name) {
    ASSERT_TRUE(Run([name](Form& form, QWidget& dialog) {
                  if (form.Name() == "CreateSAMainDialog") return Press(dialog, "NextButton");
                  Name(dialog, name);
                }).Stored());
  }
};

TEST_F(ChooserWindowTest, CreateGoesFromTheChooserToTheNamePageAndBackShowsTheChooserAgain) {
  int choosers = 0;
  HostTaskRunResult result = Run([&](Form& form, QWidget& dialog) {
    if (form.Name() == "CreateSAMainDialog") {
      ++choosers;
      return Press(dialog, "NextButton");
    }
    if (choosers == 1) return Press(dialog, "BackButton");
    Name(dialog, "Harbour");
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

TEST_F(ChooserWindowTest, EnterInTheEditNameBoxConfirmsAndLongTextsShowOnSeveralLines) {
  auto edit = std::make_shared<SAEditNameDialog>();
  edit->m_sNameToEdit = "Harbour";
  Played([&] { edit->ShowModal(); }, [](Form& form, QWidget& dialog) {
    auto* to = dialog.findChild<QLineEdit*>("ToText");
    ASSERT_NE(to, nullptr);
    to->selectAll();
    QTest::keyClicks(to, "Port");
    QTest::keyClick(to, Qt::Key_Return);
    EXPECT_FALSE(form.Visible()) << "Enter did not reach the form";
    if (form.Visible()) dialog.close();
  });
  EXPECT_EQ(edit->m_Result, 1);
  EXPECT_EQ(edit->NewName(), "Port");
  edit->Unload();

  auto contents = std::make_shared<SAContentsDialog>();
  contents->Ctl("ContentsText")->SetText("Harbour\r\nMidtown");
  QString shownText;
  Played([&] { contents->ShowModal(); }, [&](Form&, QWidget& dialog) {
    if (auto* lines = dialog.findChild<QPlainTextEdit*>("ContentsText")) shownText = lines->toPlainText();
    dialog.close();
  });
  contents->Unload();
  EXPECT_EQ(shownText, "Harbour\nMidtown");
}

TEST_F(ChooserWindowTest, EachPageOpensWithTheKeyboardWhereTheUserWorksFirst) {
  Make("Harbour");
  std::map<std::string, std::string> focus;
  Run([&](Form& form, QWidget& dialog) {
    focus[form.Name()] = dialog.focusWidget() ? dialog.focusWidget()->objectName().toStdString() : "";
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

  // A box shown for reading only leaves the keyboard to the buttons.
  auto contents = std::make_shared<SAContentsDialog>();
  contents->Ctl("ContentsText")->SetText("Harbour");
  bool readOnly = false;
  std::string focused;
  Played([&] { contents->ShowModal(); }, [&](Form&, QWidget& dialog) {
    if (auto* lines = dialog.findChild<QPlainTextEdit*>("ContentsText")) readOnly = lines->isReadOnly();
    focused = dialog.focusWidget() ? dialog.focusWidget()->objectName().toStdString() : "";
    dialog.close();
  });
  contents->Unload();
  EXPECT_TRUE(readOnly);
  EXPECT_EQ(focused, "OKButton");
}

class LayerMenuTest : public ChooserWindowTest {
protected:
  void SetUp() override {
    ChooserWindowTest::SetUp();
    Make("Harbour");
    Make("Midtown");
    window = std::make_unique<MainWindow>(analysis);
    window->show();
    QCoreApplication::processEvents();
  }
  QTreeWidgetItem* ItemNamed(const QString& name) {
    for (QTreeWidgetItem* item : window->LayerTree()->findItems(name, Qt::MatchStartsWith | Qt::MatchRecursive))
      return item;
    return nullptr;
  }
  // Triggers the menu entry on the layer's item, with user() playing the forms.
  void Choose(const char* layer, const char* entry, std::function<void(Form&, QWidget&)> user) {
    QTreeWidgetItem* item = ItemNamed(layer);
    ASSERT_NE(item, nullptr) << layer;
    QMenu* menu = window->ContextMenuFor(item);
    ASSERT_NE(menu, nullptr);
    QAction* action = menu->findChild<QAction*>(entry);
    ASSERT_NE(action, nullptr) << entry;
    Played([&] { action->trigger(); }, std::move(user));
    delete menu;
  }
  std::unique_ptr<MainWindow> window;
};

TEST_F(LayerMenuTest, OnlyStudyAreaLayersHaveTheMenuOfAStudyArea) {
  QMenu* menu = window->ContextMenuFor(ItemNamed("Harbour"));
  ASSERT_NE(menu, nullptr);
  QStringList entries;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) entries << a->objectName();
  EXPECT_EQ(entries, (QStringList{"Open", "Zoom To", "Rename", "Export", "Properties", "Delete"}));
  delete menu;
  EXPECT_EQ(window->ContextMenuFor(ItemNamed("Regions")), nullptr);
}

TEST_F(LayerMenuTest, OpenAndRenameGoThroughTheChooserOnThatStudyAreaAndDeleteAsks) {
  Choose("Harbour", "Open", [](Form&, QWidget&) { ADD_FAILURE() << "opening shows no form"; });
  EXPECT_EQ(CurrentStudyArea(), "Harbour");

  Choose("Midtown", "Rename", [](Form& form, QWidget& dialog) {
    if (form.Name() == "ManageSADialog") {
      Press(dialog, "RenameButton");
      return Press(dialog, "CloseButton");
    }
    auto* to = dialog.findChild<QLineEdit*>("ToText");
    ASSERT_NE(to, nullptr);
    to->selectAll();
    QTest::keyClicks(to, "Mid Town");
    Press(dialog, "OKButton");
  });
  StudyAreaCatalogPtr catalog = Catalog();
  EXPECT_TRUE(catalog->Exists("Mid Town")) << "the manage dialog was preselected on Midtown";
  EXPECT_TRUE(catalog->Exists("Harbour"));

  Choose("Harbour", "Delete", [](Form&, QWidget& dialog) { Press(dialog, "YesButton"); });
  EXPECT_EQ(shown, std::vector<std::string>{"DeleteConfirmSADialog"});
  EXPECT_FALSE(catalog->Exists("Harbour"));
  EXPECT_TRUE(catalog->Exists("Mid Town"));
}

TEST_F(LayerMenuTest, PropertiesShowTheStudyAreasSheet) {
  Choose("Harbour", "Properties", [](Form& form, QWidget&) { form.CloseBox(); });
  EXPECT_EQ(shown, std::vector<std::string>{"StudyAreaPropertiesDialog"});
}

} // namespace
} // namespace tov::test
