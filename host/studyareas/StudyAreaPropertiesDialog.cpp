#include "host/studyareas/StudyAreaPropertiesDialog.h"

namespace tov {

namespace {
// Twips: a page wide enough for a file path, tall enough for the twelve
// lines of properties.
constexpr float kWidth = 8400, kHeight = 5400, kMargin = 180, kButtonWidth = 1215, kButtonHeight = 375;
} // namespace

StudyAreaPropertiesDialog::StudyAreaPropertiesDialog() : Form("StudyAreaPropertiesDialog") {
  SetWidth(kWidth);
  SetHeight(kHeight);
  const float buttonTop = kHeight - kButtonHeight - 600;
  auto place = [](const ControlPtr& c, float left, float top, float width, float height) {
    c->SetLeft(left);
    c->SetTop(top);
    c->SetWidth(width);
    c->SetHeight(height);
  };
  place(Add(ControlKind::Label, "PropertiesLabel"), kMargin, kMargin, kWidth - 3 * kMargin, buttonTop - 2 * kMargin);
  auto rebuild = Add(ControlKind::CommandButton, "RebuildButton");
  place(rebuild, kMargin, buttonTop, 3200, kButtonHeight);
  rebuild->SetVisible(false);
  auto ok = Add(ControlKind::CommandButton, "OKButton");
  ok->SetCaption("OK");
  place(ok, kWidth - 2 * kButtonWidth - 3 * kMargin, buttonTop, kButtonWidth, kButtonHeight);
  auto cancel = Add(ControlKind::CommandButton, "CancelButton");
  cancel->SetCaption("Cancel");
  place(cancel, kWidth - kButtonWidth - 2 * kMargin, buttonTop, kButtonWidth, kButtonHeight);

  auto close = [this](int32_t result) {
    return [this, result](EventArgs&) {
      m_Result = result;
      Hide();
    };
  };
  On("OKButton", EventKind::Click, close(kOk));
  On("CancelButton", EventKind::Click, close(kCancel));
  On("RebuildButton", EventKind::Click, close(kRebuild));
}

void StudyAreaPropertiesDialog::Show(const std::string& studyAreaName, const std::string& propertiesText,
                                     const std::string& rebuildCaption) {
  SetCaption("Study Area Properties - " + studyAreaName);
  Ctl("PropertiesLabel")->SetCaption(propertiesText);
  Ctl("RebuildButton")->SetCaption(rebuildCaption);
  Ctl("RebuildButton")->SetVisible(!rebuildCaption.empty());
}

// A page closed by its close box reports Cancel.
void StudyAreaPropertiesDialog::Form_Activate() { m_Result = kCancel; }

} // namespace tov
