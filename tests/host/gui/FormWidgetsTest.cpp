// Lists, list views and text boxes of a form as a user works them in a
// window: the widget that sent a signal is rebuilt only after the signal is
// done and then shows what the form holds; a list of several choices picks
// as desktop lists do; the list page of regions narrows its list as the
// search is typed or pasted; keys on a text box reach the form as on the
// platform.
#include "QtApp.h"

#include "methods/maplist/SelectFromListDialog.h"

#include <QClipboard>
#include <QListWidget>
#include <QSignalBlocker>

namespace tov::test {
namespace {

class ListsPage : public Form {
public:
  ListsPage() : Form("ListsPage") {
    SetWidth(6000);
    places = AddListView("Places");
    places->SetCheckboxes(true);
    places->AddColumn("name", "Name", 2000);
    for (const char* name : {"Albany", "Buffalo", "Utica"}) places->AddItem(name, name);
    places->Move(120, 120, 4000, 1600);
    counties = AddListBox("Counties");
    for (const char* name : {"Kings", "Queens", "Bronx"}) counties->AddItem(name);
    counties->Move(120, 2000, 4000, 1600);
    towns = AddListBox("Towns", 2);
    for (const char* name : {"Ames", "Boone", "Clive", "Dallas", "Eldora", "Fonda"}) towns->AddItem(name);
    towns->Move(120, 4000, 4000, 2400);
    SetHeight(7000);
    On("Towns", EventKind::Click, [this](EventArgs&) { ++clicks; });
    On("Towns", EventKind::MouseUp, [this](EventArgs& e) { mouseUps.push_back(e.Shift); });
  }
  ListViewPtr places;
  std::shared_ptr<ListControl> counties, towns;
  int clicks = 0;
  std::vector<int> mouseUps; // the shift mask of each
};

// The form's selection after each pick, as "current: selected entries".
std::string PickOf(ListControl& list) {
  std::string text = std::to_string(list.ListIndex()) + ":";
  for (long i = 0; i < list.ListCount(); ++i)
    if (list.Selected(i)) text += " " + std::to_string(i);
  return text;
}

// Clicked entries reach the form and the rebuilt widgets; on a list of
// several choices a click picks one, Ctrl toggles, Shift extends from the
// anchor, and the keys pick too.
TEST(ListWidgetsTest, ClickedEntriesReachTheFormAndSeveralChoicesArePickedAsOnTheDesktop) {
  auto page = std::make_shared<ListsPage>();
  std::vector<std::string> picks;
  std::vector<int> clicksAfter;
  bool widgetAgrees = true;
  ShowInWindow(*page, [&](Form& form, QWidget& dialog) {
    auto* tree = dialog.findChild<QTreeWidget*>("Places");
    auto* list = dialog.findChild<QListWidget*>("Counties");
    auto* towns = dialog.findChild<QListWidget*>("Towns");
    ASSERT_TRUE(tree && list && towns);
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
    EXPECT_EQ(tree->topLevelItem(1)->data(0, Qt::UserRole).toInt(), 42) << "rebuilt during the signal";
    EXPECT_EQ(list->item(2)->data(Qt::UserRole).toInt(), 7) << "rebuilt during the signal";
    QApplication::processEvents();
    EXPECT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(list->count(), 3);
    EXPECT_TRUE(list->item(2)->isSelected());

    auto done = [&] {
      // The event loop runs between a user's clicks: the widget is synced.
      QApplication::processEvents();
      picks.push_back(PickOf(*page->towns));
      clicksAfter.push_back(page->clicks);
      for (int i = 0; i < towns->count(); ++i)
        widgetAgrees = widgetAgrees && towns->item(i)->isSelected() == page->towns->Selected(i);
    };
    auto click = [&](int row, Qt::KeyboardModifiers modifiers = {}) {
      QTest::mouseClick(towns->viewport(), Qt::LeftButton, modifiers, towns->visualItemRect(towns->item(row)).center());
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
    QTest::keyClick(towns, Qt::Key_Down);
    done();
    QTest::keyClick(towns, Qt::Key_Down, Qt::ShiftModifier);
    done();
    form.Hide();
  });
  EXPECT_TRUE(page->places->Item(2).Checked);
  EXPECT_FALSE(page->places->Item(1).Checked);
  EXPECT_EQ(page->counties->ListIndex(), 2);
  EXPECT_EQ(picks, (std::vector<std::string>{"1: 1", "3: 3", "4: 3 4", "3: 4", "1: 1", "4: 1 2 3 4", "2: 1 2", "1: 1",
                                             "2: 2", "3: 2 3"}));
  // Click each time the pick changed; MouseUp for each click, with its keys.
  EXPECT_EQ(clicksAfter, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(page->mouseUps, (std::vector<int>{0, 0, 2, 2, 0, 1, 1, 0}));
  EXPECT_TRUE(widgetAgrees);
}

// The list page of regions picked by name, offering "County 0, ST" to
// "County <count - 1>, ST".
std::shared_ptr<SelectFromListDialog> CountiesPage(int count) {
  auto page = std::make_shared<SelectFromListDialog>();
  for (int i = 0; i < count; ++i) {
    const std::string name = "County " + std::to_string(i) + ", ST";
    page->m_pRegionsColl->Add(name, name);
  }
  page->ResetParams();
  return page;
}

// The keyboard starts in the search box, every key typed narrows the shown
// list at once, a click picks an entry and Ctrl+click lets it go, and a
// double click moves the name to the chosen list.
TEST(SelectFromListWindowTest, TypingNarrowsTheListAtOnceClicksPickAndADoubleClickChooses) {
  auto page = CountiesPage(3230); // as many as the counties of the sample data
  ShowInWindow(*page, [&](Form& form, QWidget& dialog) {
    auto* search = dialog.findChild<QLineEdit*>("SearchTextBox");
    auto* from = dialog.findChild<QListWidget*>("FromList");
    auto* to = dialog.findChild<QListWidget*>("ToList");
    ASSERT_TRUE(search && from && to);
    EXPECT_EQ(FocusName(dialog), "SearchTextBox");
    EXPECT_EQ(from->count(), 3230);
    QTest::keyClicks(search, "y 32");
    QApplication::processEvents();
    // "County 32..." only: 32, 320 to 329, 3200 to 3229.
    ASSERT_EQ(from->count(), 41);
    auto click = [&](int row, Qt::KeyboardModifiers modifiers = {}) {
      QTest::mouseClick(from->viewport(), Qt::LeftButton, modifiers, from->visualItemRect(from->item(row)).center());
      QApplication::processEvents();
    };
    // A second click keeps a picked entry; Ctrl+click takes it out again.
    auto model = form.CtlAs<ListControl>("FromList");
    click(1);
    click(1);
    EXPECT_TRUE(model->Selected(1) && model->SelCount() == 1);
    click(1, Qt::ControlModifier);
    EXPECT_TRUE(!model->Selected(1) && !from->item(1)->isSelected());
    // A double click's first click picks the entry; then the second press,
    // as a window system sends it, and the double click.
    click(0);
    const QPoint at = from->visualItemRect(from->item(0)).center();
    QTest::mousePress(from->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(from->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(from->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    EXPECT_EQ(to->count(), 1);
    EXPECT_EQ(to->count() ? to->item(0)->text().toStdString() : "", "County 32, ST");
    form.Hide();
  });
}

TEST(SelectFromListWindowTest, APastedSearchNarrowsTheListAsTypingDoes) {
  auto page = CountiesPage(500);
  ShowInWindow(*page, [&](Form& form, QWidget& dialog) {
    auto* search = dialog.findChild<QLineEdit*>("SearchTextBox");
    auto* from = dialog.findChild<QListWidget*>("FromList");
    ASSERT_TRUE(search && from);
    // Ctrl+V: "County 7..." are 7, 70 to 79 and 700 to 799 of which 500
    // names hold 7 and 70 to 79.
    QGuiApplication::clipboard()->setText("y 7");
    QTest::keyClick(search, Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(from->count(), 11);
    EXPECT_EQ(form.Ctl("SearchTextBox")->Text(), "y 7");
    // The menu's Paste, over the whole text: no key at all.
    QGuiApplication::clipboard()->setText("y 49");
    search->selectAll();
    search->paste();
    QApplication::processEvents();
    EXPECT_EQ(from->count(), 11); // 49 and 490 to 499
    form.Hide();
  });
}

// A typed key raises one KeyUp, and the keys the box edits with itself
// (Ctrl+V, Delete inside the text) give the form the new text and their
// KeyUp too.
TEST(TextBoxKeysTest, EachKeyLetGoIsOneKeyUpAfterTheTextItMade) {
  auto page = std::make_shared<Form>("BoxPage");
  page->SetWidth(4000);
  page->SetHeight(2000);
  page->Add(ControlKind::TextBox, "Box")->Move(120, 120, 3000, 300);
  // What the text was at each KeyUp, with its key code and shift mask.
  std::vector<std::string> ups;
  page->On("Box", EventKind::KeyUp, [&](EventArgs& e) {
    ups.push_back(page->Ctl("Box")->Text() + "|" + std::to_string(e.KeyCode) + "|" + std::to_string(e.Shift));
  });
  ShowInWindow(*page, [&](Form& form, QWidget& dialog) {
    auto* box = dialog.findChild<QLineEdit*>("Box");
    ASSERT_TRUE(box);
    QTest::keyClicks(box, "ab");
    QGuiApplication::clipboard()->setText("xy");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    form.Hide();
  });
  // Ctrl is let go after V, as its own key.
  EXPECT_EQ(ups, (std::vector<std::string>{"a|97|0", "ab|98|0", "abxy|86|2", "abxy|17|0", "abxy|36|0", "bxy|46|0"}));
  EXPECT_EQ(page->Ctl("Box")->Text(), "bxy");
}

} // namespace
} // namespace tov::test
