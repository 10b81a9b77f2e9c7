#include "methods/zipcodes/SelectByZipCodesDialog.h"

namespace tov {

namespace {
constexpr char kZipCodesText[] = "ZipCodesText";
constexpr char kInvalidExampleLabel[] = "InvalidExampleTextLabel";
constexpr char kValidExampleLabel[] = "ValidExampleTextLabel";
constexpr char kRulesLabel[] = "ZipCodeRulesLabel";
} // namespace

SelectByZipCodesDialog::SelectByZipCodesDialog()
    : WizardPage("SelectByZipCodesDialog", 600,
                 {"Frame1", "HelpButton", "BackButton", "NextButton", "CancelButton", kZipCodesText,
                  kInvalidExampleLabel, kValidExampleLabel, kRulesLabel, "Image1"}) {
  // Design-time texts are resource ids, replaced when the page loads; the
  // rules and examples then come from the data set.
  SetCaption("224");
  Add(ControlKind::Frame, "Frame1");
  Add(ControlKind::CommandButton, "HelpButton")->SetCaption("204");
  Add(ControlKind::CommandButton, "BackButton")->SetCaption("201");
  Add(ControlKind::CommandButton, "NextButton")->SetCaption("202");
  Add(ControlKind::CommandButton, "CancelButton")->SetCaption("203");
  Add(ControlKind::TextBox, kZipCodesText)->SetMultiLine(true);
  Add(ControlKind::Label, kInvalidExampleLabel);
  Add(ControlKind::Label, kValidExampleLabel);
  Add(ControlKind::Label, kRulesLabel)->SetCaption("225");
  Add(ControlKind::Image, "Image1");
  On(kZipCodesText, EventKind::Change, [this](EventArgs&) { UpdateNextButton(); });
}

void SelectByZipCodesDialog::ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) {
  if (!pPropertySet) return;
  m_savedZipCodes =
      pPropertySet->HasProperty(kZipCodesKey) ? pPropertySet->GetProperty(kZipCodesKey).ToString() : std::string();
  m_zipCodesKnown = !m_savedZipCodes.empty();
}

void SelectByZipCodesDialog::WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) {
  if (pPropertySet) pPropertySet->SetProperty(kZipCodesKey, ZipCodes());
}

void SelectByZipCodesDialog::InitializeDialog() {
  if (m_zipCodesKnown) Ctl(kZipCodesText)->SetText(m_savedZipCodes);
}

void SelectByZipCodesDialog::ResetParams() {
  m_Result = kPageCancel;
  UpdateNextButton();
}

void SelectByZipCodesDialog::Form_Activate() { ResetParams(); }

std::string SelectByZipCodesDialog::ZipCodes() { return Ctl(kZipCodesText)->Text(); }

void SelectByZipCodesDialog::SetRuleTexts(const std::string& rules, const std::string& validExample,
                                          const std::string& invalidExample) {
  Ctl(kRulesLabel)->SetCaption(rules);
  Ctl(kValidExampleLabel)->SetCaption(validExample);
  Ctl(kInvalidExampleLabel)->SetCaption(invalidExample);
}

void SelectByZipCodesDialog::UpdateNextButton() { Ctl("NextButton")->SetEnabled(!ZipCodes().empty()); }

} // namespace tov
