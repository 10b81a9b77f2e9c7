#pragma once
#include "platform/forms/Form.h"

#include <cstdint>
#include <string>

namespace tov {

// Asks for the new name of a study area: the old name in FromText, the new
// one in ToText. OK is offered only for a name that differs from the old one
// (letter case counts) and only names the host's name checker accepts close
// the dialog. Existing names are the caller's to refuse.
//
// Caller: set m_sNameToEdit, ResetParams once, then show the dialog as often
// as needed; after each showing read m_Result (1 OK, -1 Cancel or closed)
// and NewName. The typed text stays between showings.
class SAEditNameDialog : public Form {
public:
  SAEditNameDialog();

  std::string m_sNameToEdit;
  int32_t m_Result = -1;

  void ResetParams();
  std::string NewName();

protected:
  void Form_Load() override;
  // The close box cancels, as the Cancel button does.
  void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
  void UpdateOKButton();
  void OKButton_Click();
  void CancelButton_Click();
  void ToText_KeyPress(EventArgs& args);
};

} // namespace tov
