#pragma once
#include "pages/WizardPage.h"

#include <string>

namespace tov {

// The last page of every creation method: the name of the new study area.
// Names the host's name checker refuses are refused here; names that exist
// already are refused by the task that shows the page.
class SelectSANameDialog : public WizardPage {
public:
  SelectSANameDialog();

  void ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  void WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  void InitializeDialog() override;
  void ResetParams() override;

  std::string StudyAreaName();

protected:
  bool CheckNext() override;

private:
  void UpdateNextButton();

  std::string m_savedName;
  bool m_nameKnown = false;
};

} // namespace tov
