// Lists, list views and their entries as a user clicks them: the widget that
// sent the signal is rebuilt only after the signal is done, and then shows
// what the form holds; a list of several choices picks as desktop lists do.
#include "QtApp.h"

#include "Prelude.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QTest>
#include <QTreeWidget>

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
    towns = AddListBox("Towns", 2);
    for (const char* name : {"Ames", "Boone", "Clive", "Dallas", "Eldora", "Fonda"}) towns->AddItem(name);
    Place(*towns, 4000);
    towns->SetHeight(2400);
    SetHeight(7000);
    On("Towns", EventKind::Click, [this](EventArgs&) { ++clicks; });
    On("Towns", EventKind::MouseUp, [this](EventArgs& e) { mouseUps.push_back(e.Shift); });
  }
  static void Place(Control& c, float top) {
    c.SetLeft(120);
    c.SetTop(top);
    c.SetWidth(4000);
    c.SetHeight(1600);
  }
  ListViewPtr places;
  std::shared_ptr<ListControl> counties, towns;
  int clicks = 0;
  std::vector<int> mouseUps; // the shift mask of each
};

TEST(ListWidgetsTest, ClickedEntriesReachTheFormAndTheRebuiltWidgets) {
  auto page = std::make_shared<ListsPage>();
  int treeRows = -1, listRows = -1;
  bool treeChecked = false, listSelected = false, keptDuringSignal = false;
  ShowInWindow(*page, [&](Form& form, QWidget& dialog) {
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
  EXPECT_TRUE(keptDuringSignal);
  EXPECT_TRUE(page->places->Item(2).Checked);
  EXPECT_FALSE(page->places->Item(1).Checked);
  EXPECT_EQ(page->counties->ListIndex(), 2);
  EXPECT_EQ(treeRows, 3);
  EXPECT_TRUE(treeChecked);
  EXPECT_EQ(listRows, 3);
  EXPECT_TRUE(listSelected);
}

// The form's selection after each pick, as "current: selected entries".
std::string PickOf(ListControl& list) {
  std::string text = std::to_string(list.ListIndex()) + ":";
  for (long i = 0; i < list.ListCount(); ++i)
    if (list.Selected(i)) text += " " + std::to_string(i);
  return text;
}

TEST(ListWidgetsTest, AClickPicksOneCtrlTogglesShiftExtendsFromTheAnchorAndTheKeysPickToo) {
  auto page = std::make_shared<ListsPage>();
  std::vector<std::string> picks;
  std::vector<int> clicksAfter;
  bool widgetAgrees = true;
  ShowInWindow(*page, [&](Form& form, QWidget& dialog) {
    auto* list = dialog.findChild<QListWidget*>("Towns");
    ASSERT_TRUE(list);
    auto done = [&] {
      // The event loop runs between a user's clicks: the widget is synced.
      QApplication::processEvents();
      picks.push_back(PickOf(*page->towns));
      clicksAfter.push_back(page->clicks);
      for (int i = 0; i < list->count(); ++i)
        widgetAgrees = widgetAgrees && list->item(i)->isSelected() == page->towns->Selected(i);
    };
    auto click = [&](int row, Qt::KeyboardModifiers modifiers = {}) {
      QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->item(row)).center());
      done();
    };
    click(1);
    click(3);
    click(4, Qt::ControlModifier);
    click(3, Qt::ControlModifier);
    click(1);
    click(4, Qt::ShiftModifier);
    click(2, Qt::ShiftModifier); // from the anchor, 1, not from 4
    click(1);                    // again on a picked one: it alone stays
    QTest::keyClick(list, Qt::Key_Down);
    done();
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    done();
    form.Hide();
  });
  EXPECT_EQ(picks, (std::vector<std::string>{"1: 1", "3: 3", "4: 3 4", "3: 4", "1: 1", "4: 1 2 3 4", "2: 1 2", "1: 1",
                                             "2: 2", "3: 2 3"}));
  // Click each time the pick changed; MouseUp for each click, with its keys.
  EXPECT_EQ(clicksAfter, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(page->mouseUps, (std::vector<int>{0, 0, 2, 2, 0, 1, 1, 0}));
  EXPECT_TRUE(widgetAgrees);
}

} // namespace
} // namespace tov::test
