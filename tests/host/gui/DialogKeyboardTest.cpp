// The keyboard and assistive tools on the wizard's dialogs: Enter goes on,
// a button the keyboard is on takes Enter itself, a swallowed Enter stays
// in its box, Tab goes in layout order, Escape cancels, every control has a
// name, and the band on a page's left shows the wizard's picture.
#include "QtApp.h"

#include <QLabel>

namespace tov::test {
namespace {

class DialogKeyboardTest : public WindowTest {
protected:
  static void Key(QWidget& dialog, Qt::Key key) {
    QWidget* focused = dialog.focusWidget();
    ASSERT_NE(focused, nullptr) << "nothing has the keyboard";
    QTest::keyClick(focused, key);
  }
  // The named widgets of the dialog in the order Tab reaches them, from
  // the one that has the keyboard.
  static std::vector<std::string> TabOrder(QWidget& dialog) {
    std::vector<std::string> order;
    QWidget* start = dialog.focusWidget();
    for (QWidget* w = start; w; w = w->nextInFocusChain()) {
      if (w->parentWidget() == &dialog && !w->objectName().isEmpty() && (w->focusPolicy() & Qt::TabFocus) &&
          w->isEnabled() && w->isVisible())
        order.push_back(w->objectName().toStdString());
      if (w->nextInFocusChain() == start) break;
    }
    return order;
  }
  // A form of that size (twips) whose Next button, placed as given, hides it.
  static std::shared_ptr<Form> FormWithNext(const char* name, float width, float height, float left, float top,
                                            float buttonWidth) {
    auto form = std::make_shared<Form>(name);
    form->SetWidth(width);
    form->SetHeight(height);
    auto next = form->Add(ControlKind::CommandButton, "NextButton");
    next->Move(left, top, buttonWidth, 375);
    next->SetCaption("&Next >");
    Form* self = form.get();
    form->On("NextButton", EventKind::Click, [self](EventArgs&) { self->Hide(); });
    return form;
  }
};

TEST_F(DialogKeyboardTest, EnterGoesOnAButtonTheKeyboardIsOnTakesEnterAndEscapeCancels) {
  // From the chooser, then from the name page after typing a name; tabbed to
  // Cancel, Enter cancels rather than going on.
  for (const bool onCancel : {false, true}) {
    SCOPED_TRACE(onCancel ? "on Cancel" : "on the name");
    HostTaskRunResult result = Run([&](Form& form, QWidget& dialog) {
      if (form.Name() == "CreateSAMainDialog") return Key(dialog, Qt::Key_Return);
      QTest::keyClicks(dialog.focusWidget(), "Harbour");
      if (onCancel) dialog.findChild<QAbstractButton*>("CancelButton")->setFocus();
      Key(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(shown, (std::vector<std::string>{"CreateSAMainDialog", "SelectSANameDialog"}));
    EXPECT_EQ(result.Stored(), !onCancel);
    if (onCancel) EXPECT_EQ(result.pageResult, -1);
    else EXPECT_EQ(CurrentStudyArea(), "Harbour");
  }
  HostTaskRunResult escaped = Run([](Form&, QWidget& dialog) { Key(dialog, Qt::Key_Escape); });
  EXPECT_EQ(shown, std::vector<std::string>{"CreateSAMainDialog"});
  EXPECT_EQ(escaped.pageResult, -1);
}

TEST_F(DialogKeyboardTest, AnEnterTheFormSwallowsStaysInItsBox) {
  // As the address box of the geocoder's page, which finds on Enter.
  auto form = FormWithNext("EnterForm", 6000, 3000, 3600, 1800, 1200);
  form->Add(ControlKind::TextBox, "AddressText")->Move(120, 120, 3000, 315);
  int entered = 0;
  form->On("AddressText", EventKind::KeyPress, [&](EventArgs& e) {
    if (e.KeyAscii != 13) return;
    e.KeyAscii = 0;
    ++entered;
  });
  bool stayed = false;
  Played([&] { form->ShowModal(); }, [&](Form& f, QWidget& dialog) {
    QTest::keyClick(dialog.findChild<QLineEdit*>("AddressText"), Qt::Key_Return);
    stayed = f.Visible(); // else the swallowed Enter pressed the default button
    if (f.Visible()) Press(dialog, "NextButton");
  });
  EXPECT_EQ(entered, 1);
  EXPECT_TRUE(stayed);
}

TEST_F(DialogKeyboardTest, TabGoesThroughThePageAsItIsLaidOut) {
  Make("Harbour"); // the chooser's open way and manage button take part
  std::vector<std::string> namePage, chooser;
  std::string afterTab;
  Run([&](Form& form, QWidget& dialog) {
    if (form.Name() == "CreateSAMainDialog") {
      chooser = TabOrder(dialog);
      return Press(dialog, "NextButton");
    }
    // The label, frame and image between the name and Help take no focus.
    Key(dialog, Qt::Key_Tab);
    afterTab = FocusName(dialog);
    dialog.findChild<QLineEdit*>("StudyAreaNameText")->setFocus();
    QTest::keyClicks(dialog.focusWidget(), "Midtown"); // Next takes part
    namePage = TabOrder(dialog);
    Press(dialog, "CancelButton");
  });
  // The name box on top, then the buttons' row from the left; from the
  // methods' list on the chooser down to its buttons, the options of the
  // regions and Back being disabled.
  EXPECT_EQ(namePage, (std::vector<std::string>{"StudyAreaNameText", "HelpButton", "BackButton", "NextButton",
                                                "CancelButton"}));
  EXPECT_EQ(afterTab, "HelpButton");
  EXPECT_EQ(chooser, (std::vector<std::string>{"SATasksList", "OpenSAOption", "SANameCombo", "ManageSAButton",
                                               "HelpButton", "NextButton", "CancelButton", "CreateSAOption"}));
}

TEST_F(DialogKeyboardTest, EveryControlHasANameABoxTakesItsLabelsAndTheBandShowsThePicture) {
  std::map<std::string, std::map<std::string, std::string>> names;
  bool picture = false;
  Make("Harbour"); // the chooser then lists a saved study area
  Run([&](Form& form, QWidget& dialog) {
    for (const ControlPtr& c : form.Controls())
      if (auto* w = dialog.findChild<QWidget*>(QString::fromStdString(c->Name())))
        names[form.Name()][c->Name()] = w->accessibleName().toStdString();
    if (form.Name() == "CreateSAMainDialog") return Press(dialog, "NextButton");
    auto* image = dialog.findChild<QLabel*>("Image1");
    picture = image && !image->pixmap().isNull();
    Press(dialog, "CancelButton");
  });
  for (const auto& [form, controls] : names)
    for (const auto& [control, name] : controls) EXPECT_FALSE(name.empty()) << form << "." << control;
  EXPECT_EQ(names["SelectSANameDialog"]["StudyAreaNameText"], "Type a name for the new study area");
  EXPECT_EQ(names["SelectSANameDialog"]["NextButton"], "Next");
  EXPECT_EQ(names["CreateSAMainDialog"]["SANameCombo"], "Saved study areas");
  EXPECT_EQ(names["CreateSAMainDialog"]["SATasksList"], "Choose how to define the new study area");
  EXPECT_TRUE(picture) << "the name page's band shows no picture";
}

TEST_F(DialogKeyboardTest, APageThatLeavesTheBandEmptyWithoutAnImageShowsThePictureThere) {
  auto form = FormWithNext("BandForm", 7005, 5300, 4320, 4440, 1215);
  form->Add(ControlKind::Label, "Label1")->Move(2040, 240, 4845, 855);
  form->Add(ControlKind::TextBox, "FirstText")->Move(2040, 1200, 2000, 315);
  QRect band;
  bool drawn = false;
  Played([&] { form->ShowModal(); }, [&](Form&, QWidget& dialog) {
    if (auto* picture = dialog.findChild<QLabel*>("WizardPicture")) {
      band = picture->geometry();
      drawn = !picture->pixmap().isNull();
    }
    Press(dialog, "NextButton");
  });
  EXPECT_TRUE(drawn);
  EXPECT_EQ(band.left(), 8);
  EXPECT_EQ(band.width(), 120); // up to the controls at 136 pixels
  EXPECT_GT(band.height(), 200);
}

} // namespace
} // namespace tov::test
