// The edit name dialog: when OK is offered, Enter, and refused names.
#include "TestWorld.h"

#include "manage/SAEditNameDialog.h"
#include "pages/NameRefusal.h"
#include "pages/modi18N.h"

namespace tov::test {
namespace {

std::shared_ptr<SAEditNameDialog> NewDialog(const std::string& name) {
  auto dialog = std::make_shared<SAEditNameDialog>();
  dialog->m_sNameToEdit = name;
  dialog->ResetParams();
  return dialog;
}

TEST(SAEditNameDialogTest, OKAndEnterAreOfferedOnlyForADifferentName) {
  UseScript("[]");
  auto dialog = NewDialog("Harbor");
  EXPECT_EQ(std::tuple(dialog->Ctl("FromText")->Text(), dialog->Ctl("ToText")->Text(), dialog->m_Result),
            std::tuple("Harbor", "Harbor", -1));
  EXPECT_FALSE(dialog->Ctl("OKButton")->Enabled());
  dialog->Ctl("ToText")->SetText("harbor"); // the letter case counts
  EXPECT_TRUE(dialog->Ctl("OKButton")->Enabled());
  dialog->Ctl("ToText")->SetText("Harbor");
  EXPECT_FALSE(dialog->Ctl("OKButton")->Enabled());

  // Enter acts as OK only when OK is offered.
  auto presenter = UseScript(R"([{"form": "SAEditNameDialog", "actions": [
      {"keypress": "ToText", "key": 13},
      {"set": "ToText", "text": "Cove"},
      {"keypress": "ToText", "key": 13}]}])");
  dialog = NewDialog("Harbor");
  dialog->ShowModal();
  EXPECT_TRUE(presenter->Errors().empty());
  EXPECT_EQ(std::tuple(dialog->m_Result, dialog->NewName(), dialog->Ctl("ToText")->Text()),
            std::tuple(1, "Cove", "Cove"));
}

TEST(SAEditNameDialogTest, ARefusedNameSaysWhyAndStaysForCorrection) {
  auto presenter = UseScript(R"([{"form": "SAEditNameDialog", "actions": [
      {"set": "ToText", "text": "Bay/Harbor"}, {"click": "OKButton"}]},
    {"form": "SAEditNameDialog", "actions": [{"click": "CancelButton"}]}])");
  // The dialog stays open after the refusal: the second turn is its own.
  auto dialog = NewDialog("Harbor");
  dialog->ShowModal();
  EXPECT_EQ(std::tuple(dialog->m_Result, dialog->NewName()), std::tuple(-1, "Bay/Harbor"));

  auto checker = CreateAs<NameChecker>(kNameCheckerProgId);
  ASSERT_TRUE(checker->Test("Bay/Harbor"));
  // The rule and the reason are two sentences, one blank between them.
  const std::string refusal = GetTextResources()->FindString("135") + " " + checker->Reason();
  EXPECT_EQ(refusal, NameRefusal("Bay/Harbor", true));
  EXPECT_EQ(ShownMessages(*presenter), std::vector<std::string>{MessageOf("exclamation", "", refusal)});
  EXPECT_EQ(std::tuple(presenter->ShownForms().size(), presenter->Errors().size()), std::tuple(1u, 0u));
}

} // namespace
} // namespace tov::test
