// Lists, list views and their entries as a user clicks them: the widget that
// sent the signal is rebuilt only after the signal is done, and then shows
// what the form holds.
#include "GuiTestSupport.h"

#include "host/gui/QtPresenter.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/ListView.h"
#include "platform/forms/MsgBox.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace tov::test {
namespace {

class ListsPage : public Form {
public:
  ListsPage() : Form("ListsPage") {
    SetWidth(6000);
    SetHeight(4000);
    places = AddListView("Places");
    places->SetCheckboxes(true);
    places->AddColumn("name", "Name", 2000);
    for (const char* name : {"Albany", "Buffalo", "Utica"}) places->AddItem(name, name);
    Place(*places, 120);
    counties = AddListBox("Counties");
    for (const char* name : {"Kings", "Queens", "Bronx"}) counties->AddItem(name);
    Place(*counties, 2000);
  }
  static void Place(Control& c, float top) {
    c.SetLeft(120);
    c.SetTop(top);
    c.SetWidth(4000);
    c.SetHeight(1600);
  }
  ListViewPtr places;
  std::shared_ptr<ListControl> counties;
};

TEST(ListWidgetsTest, ClickedEntriesReachTheFormAndTheRebuiltWidgets) {
  App();
  auto presenter = std::make_shared<QtPresenter>();
  presenter->SetMsgBoxAnswer([](const std::string&, int32_t) { return vbOK; });
  SetPresenter(presenter);
  auto page = std::make_shared<ListsPage>();
  int treeRows = -1, listRows = -1;
  bool treeChecked = false, listSelected = false, keptDuringSignal = false;
  presenter->SetOnShown([&](Form& form, QWidget& dialog) {
    auto* tree = dialog.findChild<QTreeWidget*>("Places");
    auto* list = dialog.findChild<QListWidget*>("Counties");
    ASSERT_TRUE(tree && list);
    // Marks that a rebuild would lose: the entries a signal is about must
    // outlive it (Qt touches them after the handlers return).
    {
      const QSignalBlocker quietTree(tree), quietList(list);
      tree->topLevelItem(1)->setData(0, Qt::UserRole, 42);
      list->item(2)->setData(Qt::UserRole, 7);
    }
    // What a click on the check box does to the item.
    tree->topLevelItem(1)->setCheckState(0, Qt::Checked);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    keptDuringSignal = tree->topLevelItem(1)->data(0, Qt::UserRole).toInt() == 42 &&
                       list->item(2)->data(Qt::UserRole).toInt() == 7;
    QApplication::processEvents();
    treeRows = tree->topLevelItemCount();
    treeChecked = tree->topLevelItem(1)->checkState(0) == Qt::Checked;
    listRows = list->count();
    listSelected = list->item(2)->isSelected();
    form.Hide();
  });
  Watchdog watchdog;
  page->ShowModal();
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_TRUE(keptDuringSignal);
  EXPECT_TRUE(page->places->Item(2).Checked);
  EXPECT_FALSE(page->places->Item(1).Checked);
  EXPECT_EQ(page->counties->ListIndex(), 2);
  EXPECT_EQ(treeRows, 3);
  EXPECT_TRUE(treeChecked);
  EXPECT_EQ(listRows, 3);
  EXPECT_TRUE(listSelected);
}

} // namespace
} // namespace tov::test
