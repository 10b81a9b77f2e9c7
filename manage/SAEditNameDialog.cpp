#include "manage/SAEditNameDialog.h"

#include "pages/NameRefusal.h"
#include "pages/modi18N.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/ObjectRegistry.h"

namespace tov {

namespace {
constexpr long kLayoutBase = 400;
constexpr int kEnterKey = 13;
constexpr int32_t kOK = 1;
constexpr int32_t kCancel = -1;
} // namespace

SAEditNameDialog::SAEditNameDialog() : Form("SAEditNameDialog") {
  // Design-time texts are resource ids, replaced when the dialog loads.
  SetCaption("255");
  Add(ControlKind::CommandButton, "OKButton")->SetCaption("205");
  Add(ControlKind::CommandButton, "CancelButton")->SetCaption("203");
  Add(ControlKind::Frame, "Frame1");
  Add(ControlKind::TextBox, "ToText");
  // The old name is shown, not edited.
  Add(ControlKind::TextBox, "FromText")->SetEnabled(false);
  Add(ControlKind::Label, "Label2")->SetCaption("257");
  Add(ControlKind::Label, "Label1")->SetCaption("256");
  On("OKButton", EventKind::Click, [this](EventArgs&) { OKButton_Click(); });
  On("CancelButton", EventKind::Click, [this](EventArgs&) { CancelButton_Click(); });
  On("ToText", EventKind::Change, [this](EventArgs&) { UpdateOKButton(); });
  On("ToText", EventKind::KeyPress, [this](EventArgs& args) { ToText_KeyPress(args); });
}

void SAEditNameDialog::Form_Load() {
  ApplyLocaleFonts(*this);
  ApplyResourceTexts(*this);
  ApplyPageLayout(*this, kLayoutBase, {"OKButton", "CancelButton", "Frame1", "ToText", "FromText", "Label2", "Label1"});
}

void SAEditNameDialog::Form_QueryUnload(int&, int unloadMode) {
  // Shown again after a refused name, the dialog still holds the OK of that
  // name: a close must not confirm it once more (see docs/departures.md).
  if (unloadMode == 0) m_Result = kCancel;
}

void SAEditNameDialog::ResetParams() {
  m_Result = kCancel;
  Ctl("FromText")->SetText(m_sNameToEdit);
  Ctl("ToText")->SetText(m_sNameToEdit);
  UpdateOKButton();
}

std::string SAEditNameDialog::NewName() { return Ctl("ToText")->Text(); }

void SAEditNameDialog::UpdateOKButton() {
  Ctl("OKButton")->SetEnabled(Ctl("ToText")->Text() != Ctl("FromText")->Text());
}

void SAEditNameDialog::ToText_KeyPress(EventArgs& args) {
  // Enter confirms, but only what OK would confirm; every key reaches the box.
  if (args.KeyAscii == kEnterKey && Ctl("OKButton")->Enabled()) OKButton_Click();
}

void SAEditNameDialog::OKButton_Click() {
  // The checker's reason tells the user what to change; the text stays for
  // correcting in place.
  if (const std::string refusal = NameRefusal(NewName(), true); !refusal.empty()) {
    MsgBox(refusal, vbExclamation);
    return;
  }
  m_Result = kOK;
  Hide();
}

void SAEditNameDialog::CancelButton_Click() {
  m_Result = kCancel;
  Hide();
}

} // namespace tov
