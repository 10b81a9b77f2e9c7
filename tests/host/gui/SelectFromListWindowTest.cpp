// The list page of regions picked by name in a window: the keyboard starts
// in the search box, every key typed or text pasted narrows the shown list at
// once, a click picks an entry and Ctrl+click lets it go, and a double click
// moves the name to the chosen list.
#include "QtApp.h"
#include "TestWorld.h"

#include "methods/maplist/SelectFromListDialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace tov::test {
namespace {

TEST(SelectFromListWindowTest, TypingNarrowsTheListAtOnceClicksPickAndADoubleClickChooses) {

  auto page = std::make_shared<SelectFromListDialog>();
  // As many names as the counties of the sample data.
  for (int i = 0; i < 3230; ++i) {
    const std::string name = "County " + std::to_string(i) + ", ST";
    page->m_pRegionsColl->Add(name, name);
  }
  page->ResetParams();

  std::string focused;
  int shownAtFirst = 0, shownAfterTyping = 0, chosen = 0;
  std::string chosenName;
  bool picked = false, unpicked = false;
  ShowInWindow(*page, [&](Form& form, QWidget& dialog) {
    auto* search = dialog.findChild<QLineEdit*>("SearchTextBox");
    auto* from = dialog.findChild<QListWidget*>("FromList");
    auto* to = dialog.findChild<QListWidget*>("ToList");
    ASSERT_TRUE(search && from && to);
    focused = dialog.focusWidget() ? dialog.focusWidget()->objectName().toStdString() : "";
    shownAtFirst = from->count();
    QTest::keyClicks(search, "y 32");
    QApplication::processEvents();
    // "County 32..." only: 32, 320 to 329, 3200 to 3229.
    shownAfterTyping = from->count();
    ASSERT_GT(from->count(), 1);
    // A second click keeps a picked entry; Ctrl+click takes it out again.
    auto model = form.CtlAs<ListControl>("FromList");
    const QPoint second = from->visualItemRect(from->item(1)).center();
    QTest::mouseClick(from->viewport(), Qt::LeftButton, {}, second);
    QApplication::processEvents();
    QTest::mouseClick(from->viewport(), Qt::LeftButton, {}, second);
    QApplication::processEvents();
    picked = model->Selected(1) && model->SelCount() == 1;
    QTest::mouseClick(from->viewport(), Qt::LeftButton, Qt::ControlModifier, second);
    QApplication::processEvents();
    unpicked = !model->Selected(1) && !from->item(1)->isSelected();
    // A double click's first click picks the entry.
    const QPoint at = from->visualItemRect(from->item(0)).center();
    QTest::mouseClick(from->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    // The second press, as a window system sends it, then the double click.
    QTest::mousePress(from->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(from->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(from->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    chosen = to->count();
    if (chosen > 0) chosenName = to->item(0)->text().toStdString();
    form.Hide();
  });
  EXPECT_EQ(focused, "SearchTextBox");
  EXPECT_EQ(shownAtFirst, 3230);
  EXPECT_EQ(shownAfterTyping, 41);
  EXPECT_TRUE(picked);
  EXPECT_TRUE(unpicked);
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(chosenName, "County 32, ST");
}

TEST(SelectFromListWindowTest, APastedSearchNarrowsTheListAsTypingDoes) {
  auto page = std::make_shared<SelectFromListDialog>();
  for (int i = 0; i < 500; ++i) {
    const std::string name = "County " + std::to_string(i) + ", ST";
    page->m_pRegionsColl->Add(name, name);
  }
  page->ResetParams();

  int byKeys = 0, byMenu = 0;
  std::string shownText;
  ShowInWindow(*page, [&](Form& form, QWidget& dialog) {
    auto* search = dialog.findChild<QLineEdit*>("SearchTextBox");
    auto* from = dialog.findChild<QListWidget*>("FromList");
    ASSERT_TRUE(search && from);
    // Ctrl+V: "County 7..." are 7, 70 to 79 and 700 to 799 of which 500
    // names hold 7 and 70 to 79.
    QGuiApplication::clipboard()->setText("y 7");
    QTest::keyClick(search, Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();
    byKeys = from->count();
    shownText = form.Ctl("SearchTextBox")->Text();
    // The menu's Paste, over the whole text: no key at all.
    QGuiApplication::clipboard()->setText("y 49");
    search->selectAll();
    search->paste();
    QApplication::processEvents();
    byMenu = from->count();
    form.Hide();
  });
  EXPECT_EQ(shownText, "y 7");
  EXPECT_EQ(byKeys, 11);
  EXPECT_EQ(byMenu, 11); // 49 and 490 to 499
}

} // namespace
} // namespace tov::test
