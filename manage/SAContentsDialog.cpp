#include "manage/SAContentsDialog.h"

#include "pages/modi18N.h"

namespace tov {

namespace {
constexpr long kLayoutBase = 300;
} // namespace

SAContentsDialog::SAContentsDialog() : Form("SAContentsDialog") {
  // Design-time texts are resource ids, replaced when the dialog loads.
  SetCaption("259");
  Add(ControlKind::CommandButton, "OKButton")->SetCaption("205");
  ControlPtr contents = Add(ControlKind::TextBox, "ContentsText");
  contents->SetMultiLine(true);
  contents->SetLocked(true);
  On("OKButton", EventKind::Click, [this](EventArgs&) { Hide(); });
}

void SAContentsDialog::Form_Load() {
  ApplyLocaleFonts(*this);
  ApplyResourceTexts(*this);
  ApplyPageLayout(*this, kLayoutBase, {"OKButton", "ContentsText"});
}

} // namespace tov
