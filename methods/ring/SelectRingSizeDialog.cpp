#include "methods/ring/SelectRingSizeDialog.h"

#include "methods/ring/StoredValues.h"

namespace tov {

namespace {
constexpr char kUnitMilesKey[] = "UnitMiles";
constexpr char kFirstKey[] = "First";
constexpr char kFirstText[] = "FirstText";
constexpr char kMilesOption[] = "MilesOption";
constexpr char kKilometersOption[] = "KilometersOption";
// Radii are refused from here on, in either unit.
constexpr double kRadiusLimit = 40000.0;
} // namespace

SelectRingSizeDialog::SelectRingSizeDialog() : WizardPage("SelectRingSizeDialog", 900) {
  // Design-time texts are resource ids, replaced when the page loads.
  SetCaption("243");
  Add(ControlKind::Frame, "Frame1");
  Add(ControlKind::CommandButton, "HelpButton")->SetCaption("204");
  Add(ControlKind::CommandButton, "BackButton")->SetCaption("201");
  Add(ControlKind::CommandButton, "NextButton")->SetCaption("202");
  Add(ControlKind::CommandButton, "CancelButton")->SetCaption("203");
  Add(ControlKind::TextBox, kFirstText);
  Add(ControlKind::Frame, "Frame2")->SetCaption("245");
  ControlPtr miles = Add(ControlKind::OptionButton, kMilesOption);
  miles->SetCaption("246");
  miles->SetContainer("Frame2");
  ControlPtr kilometers = Add(ControlKind::OptionButton, kKilometersOption);
  kilometers->SetCaption("247");
  kilometers->SetContainer("Frame2");
  Add(ControlKind::Image, "OneRingImage");
  Add(ControlKind::Label, "Label1")->SetCaption("248");
  Add(ControlKind::Label, "Label2")->SetCaption("244");

  On(kFirstText, EventKind::Change, [this](EventArgs&) { FirstText_Change(); });
  On(kFirstText, EventKind::KeyUp, [this](EventArgs&) { CheckRadius(); });
  On(kMilesOption, EventKind::Click, [this](EventArgs&) { m_bMiles = true; });
  On(kKilometersOption, EventKind::Click, [this](EventArgs&) { m_bMiles = false; });
}

void SelectRingSizeDialog::Form_Load() {
  WizardPage::Form_Load();
  InitializeDialog();
}

void SelectRingSizeDialog::ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) {
  if (!pPropertySet) return;
  const Variant unit = StoredValue(pPropertySet, kUnitMilesKey);
  if (IsBlank(unit)) return;
  m_read = true;
  m_bMiles = TextOf(unit) == "True";
  ConvertStored(pPropertySet, kFirstKey, m_dFirst);
}

void SelectRingSizeDialog::WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) {
  if (!pPropertySet) return;
  pPropertySet->SetProperty(kUnitMilesKey, m_bMiles ? "True" : "False");
  pPropertySet->SetProperty(kFirstKey, Ctl(kFirstText)->Text());
}

void SelectRingSizeDialog::InitializeDialog() {
  if (!m_read) m_bMiles = true;
  m_Result = kPageCancel;
  // Selecting an option clicks it, which sets the unit it stands for.
  if (m_bMiles)
    Ctl(kMilesOption)->SetValue(1);
  else
    Ctl(kKilometersOption)->SetValue(1);
  if (m_read) Ctl(kFirstText)->SetText(Variant(m_dFirst).ToString());
  CheckRadius();
}

void SelectRingSizeDialog::CheckRadius() {
  double radius = 0.0;
  const bool usable = ParseNumber(Ctl(kFirstText)->Text(), radius) && radius > 0.0 && radius < kRadiusLimit;
  Ctl("NextButton")->SetEnabled(usable);
}

void SelectRingSizeDialog::FirstText_Change() {
  CheckRadius();
  // A text that is no number keeps the last radius that was one.
  double radius = 0.0;
  if (ParseNumber(Ctl(kFirstText)->Text(), radius)) m_dFirst = radius;
}

void SelectRingSizeDialog::Form_QueryUnload(int&, int unloadMode) {
  if (unloadMode == 0) m_Result = kPageCancel;
}

} // namespace tov
