#include "host/join/ManageDialogs.h"

#include "manage/DeleteConfirmSADialog.h"
#include "manage/SAContentsDialog.h"

namespace tov {

bool IsDeleteConfirmation(Form& form) { return dynamic_cast<DeleteConfirmSADialog*>(&form) != nullptr; }

std::string DeleteConfirmationAnswer(Form& form) {
  auto* confirm = dynamic_cast<DeleteConfirmSADialog*>(&form);
  if (!confirm) return std::string();
  switch (confirm->m_Result) {
  case DeleteConfirmSADialog::kYes: return "Yes";
  case DeleteConfirmSADialog::kNo: return "No";
  case DeleteConfirmSADialog::kYesToAll: return "Yes to all";
  default: return "(closed)";
  }
}

void ShowStudyAreaContents(const std::string& text) {
  auto contents = std::make_shared<SAContentsDialog>();
  contents->Ctl("ContentsText")->SetText(text);
  contents->ShowModal();
  contents->Unload();
}

} // namespace tov
