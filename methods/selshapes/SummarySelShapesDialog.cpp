#include "methods/selshapes/SummarySelShapesDialog.h"

namespace tov {

namespace {
constexpr char kSummaryText[] = "SummarySelShapes";
} // namespace

SummarySelShapesDialog::SummarySelShapesDialog()
    : WizardPage("SummarySelShapesDialog", 1200,
                 {"Frame1", "HelpButton", "BackButton", "NextButton", "CancelButton", kSummaryText, "Label1", "Image1"}) {
  // Design-time texts are resource ids, replaced when the page loads.
  SetCaption("222");
  Add(ControlKind::Frame, "Frame1");
  Add(ControlKind::CommandButton, "HelpButton")->SetCaption("204");
  Add(ControlKind::CommandButton, "BackButton")->SetCaption("201");
  Add(ControlKind::CommandButton, "NextButton")->SetCaption("202");
  Add(ControlKind::CommandButton, "CancelButton")->SetCaption("203");
  ControlPtr summary = Add(ControlKind::TextBox, kSummaryText);
  summary->SetMultiLine(true);
  summary->SetLocked(true);
  Add(ControlKind::Label, "Label1")->SetCaption("223");
  Add(ControlKind::Image, "Image1");
  On(kSummaryText, EventKind::Change, [this](EventArgs&) { SummarySelShapes_Change(); });
}

void SummarySelShapesDialog::SetSummary(const std::string& summary) {
  m_summary = summary;
  Ctl(kSummaryText)->SetText(summary);
}

void SummarySelShapesDialog::Form_Activate() { ResetParams(); }

// The box is read-only: typing puts the summary back (setting the same text
// raises no further change).
void SummarySelShapesDialog::SummarySelShapes_Change() {
  ControlPtr box = Ctl(kSummaryText);
  if (box->Text() != m_summary) box->SetText(m_summary);
}

} // namespace tov
