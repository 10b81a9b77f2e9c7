#include "manage/DeleteConfirmSADialog.h"

#include "pages/modi18N.h"

namespace tov {

namespace {
constexpr long kLayoutBase = 100;
} // namespace

DeleteConfirmSADialog::DeleteConfirmSADialog() : Form("DeleteConfirmSADialog") {
  // Design-time texts are resource ids, replaced when the dialog loads; the
  // question is put for each study area.
  SetCaption("258");
  Add(ControlKind::CommandButton, "NoButton")->SetCaption("209");
  Add(ControlKind::CommandButton, "YesButton")->SetCaption("207");
  Add(ControlKind::CommandButton, "YesToAllButton")->SetCaption("208");
  Add(ControlKind::Label, "QuestionLabel");
  Add(ControlKind::Image, "Image1");
  On("YesButton", EventKind::Click, [this](EventArgs&) { Answer(kYes); });
  On("NoButton", EventKind::Click, [this](EventArgs&) { Answer(kNo); });
  On("YesToAllButton", EventKind::Click, [this](EventArgs&) { Answer(kYesToAll); });
}

void DeleteConfirmSADialog::Form_Load() {
  m_Result = kYesToAll;
  ApplyLocaleFonts(*this);
  ApplyResourceTexts(*this);
  ApplyPageLayout(*this, kLayoutBase, {"NoButton", "YesButton", "YesToAllButton", "QuestionLabel", "Image1"});
}

void DeleteConfirmSADialog::Form_QueryUnload(int&, int unloadMode) {
  // The close box answers nothing; whatever the result held must not count.
  if (unloadMode == 0) m_Result = kNoAnswer;
}

int16_t DeleteConfirmSADialog::Ask(const std::string& name) {
  Ctl("QuestionLabel")->SetCaption("Are you sure you want to delete " + name + "?");
  ResetParams();
  ShowModal();
  return m_Result;
}

void DeleteConfirmSADialog::Answer(int16_t result) {
  m_Result = result;
  Hide();
}

} // namespace tov
