// Keys on a text box in a window reach the form as on the platform: a key
// typed raises one KeyUp, and the keys the box edits with itself (Ctrl+V,
// Delete inside the text) give the form the new text and their KeyUp too.
#include "QtApp.h"

#include "Prelude.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

namespace tov::test {
namespace {

class BoxPage : public Form {
public:
  BoxPage() : Form("BoxPage") {
    SetWidth(4000);
    SetHeight(2000);
    ControlPtr box = Add(ControlKind::TextBox, "Box");
    box->SetLeft(120);
    box->SetTop(120);
    box->SetWidth(3000);
    box->SetHeight(300);
    // What the text was at each KeyUp, with its key code and shift mask.
    On("Box", EventKind::KeyUp, [this](EventArgs& e) {
      ups.push_back(Ctl("Box")->Text() + "|" + std::to_string(e.KeyCode) + "|" + std::to_string(e.Shift));
    });
  }
  std::vector<std::string> ups;
};

TEST(TextBoxKeysTest, EachKeyLetGoIsOneKeyUpAfterTheTextItMade) {
  auto page = std::make_shared<BoxPage>();
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
  EXPECT_EQ(page->ups,
            (std::vector<std::string>{"a|97|0", "ab|98|0", "abxy|86|2", "abxy|17|0", "abxy|36|0", "bxy|46|0"}));
  EXPECT_EQ(page->Ctl("Box")->Text(), "bxy");
}

} // namespace
} // namespace tov::test
