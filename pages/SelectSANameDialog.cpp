#include "pages/SelectSANameDialog.h"

#include "pages/NameRefusal.h"
#include "pages/modi18N.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

namespace {
constexpr char kSANameKey[] = "SAName";
constexpr char kNameText[] = "StudyAreaNameText";
} // namespace

SelectSANameDialog::SelectSANameDialog()
    : WizardPage("SelectSANameDialog", 1000,
                 {"Frame1", "HelpButton", "BackButton", "NextButton", "CancelButton", kNameText, "Label1", "Image1"}) {
  // Design-time texts are resource ids, replaced when the page loads.
  SetCaption("220");
  // Form order (the keyboard's order) differs from the layout order above.
  Add(ControlKind::TextBox, kNameText);
  Add(ControlKind::Label, "Label1")->SetCaption("221");
  Add(ControlKind::Frame, "Frame1");
  Add(ControlKind::Image, "Image1");
  Add(ControlKind::CommandButton, "HelpButton")->SetCaption("204");
  Add(ControlKind::CommandButton, "BackButton")->SetCaption("201");
  Add(ControlKind::CommandButton, "NextButton")->SetCaption("202");
  Add(ControlKind::CommandButton, "CancelButton")->SetCaption("203");
  On(kNameText, EventKind::Change, [this](EventArgs&) { UpdateNextButton(); });
}

void SelectSANameDialog::ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) {
  if (!pPropertySet) {
    m_nameKnown = false;
    return;
  }
  m_savedName = pPropertySet->HasProperty(kSANameKey) ? pPropertySet->GetProperty(kSANameKey).ToString() : std::string();
  m_nameKnown = !m_savedName.empty();
}

void SelectSANameDialog::WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) {
  if (pPropertySet) pPropertySet->SetProperty(kSANameKey, Ctl(kNameText)->Text());
}

void SelectSANameDialog::InitializeDialog() {
  if (m_nameKnown) Ctl(kNameText)->SetText(m_savedName);
}

void SelectSANameDialog::ResetParams() {
  m_Result = kPageCancel;
  UpdateNextButton();
}

std::string SelectSANameDialog::StudyAreaName() { return Ctl(kNameText)->Text(); }

void SelectSANameDialog::UpdateNextButton() { Ctl("NextButton")->SetEnabled(!Ctl(kNameText)->Text().empty()); }

bool SelectSANameDialog::CheckNext() {
  // The text itself says what a valid name is.
  const std::string refusal = NameRefusal(StudyAreaName(), false);
  if (refusal.empty()) return true;
  MsgBox(refusal, vbExclamation, GetTextResources()->FindString("101"));
  return false;
}

} // namespace tov
