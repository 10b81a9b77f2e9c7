#pragma once
#include "pages/WizardPage.h"

#include <string>

namespace tov {

// The first page of the selected shapes method: what the study area will be
// made of. It keeps no state between visits; the task fills the summary.
class SummarySelShapesDialog : public WizardPage {
public:
  SummarySelShapesDialog();

  // The text shown, kept as given whatever is typed into the box.
  void SetSummary(const std::string& summary);

protected:
  void Form_Activate() override;

private:
  void SummarySelShapes_Change();

  std::string m_summary;
};

} // namespace tov
