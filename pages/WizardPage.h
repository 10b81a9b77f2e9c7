#pragma once
#include "platform/forms/Form.h"
#include "platform/framework/TaskPropertySet.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tov {

// Page results (m_Result).
constexpr int32_t kPageCancel = -1;
constexpr int32_t kPageNext = 1;
constexpr int32_t kPageBack = 2;
// Result of a page sequence whose last page was accepted; Back (2) and
// cancelled (-1) are as for a page.
constexpr int32_t kPagesAccepted = 0;

inline constexpr char kHelpFile[] = "orva_csTovana.hlp";
inline constexpr char kHelpTopicCreateStudyArea[] = "ABOUT_CREATE_STUDY_AREA";

// What every wizard page shares: the result, the protocol towards the task
// that shows it, the navigation and help buttons and the load sequence.
//
// The buttons (when the page has them): NextButton runs the page's own check
// and, when it passes, sets m_Result = 1 and hides; BackButton 2 and hides;
// CancelButton -1 and hides; HelpButton opens the help topic. A page hidden
// any other way since ResetParams reports -1.
class WizardPage : public Form {
public:
  // layoutBase 0: the page has no layout block. An empty layoutOrder lays
  // out every control in form order.
  WizardPage(std::string name, long layoutBase, std::vector<std::string> layoutOrder = {});

  int32_t m_Result = kPageCancel;

  // The task's protocol: read and initialise once, reset before every
  // showing, write after every showing. A missing set is ignored.
  virtual void ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) { (void)pPropertySet; }
  virtual void WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) { (void)pPropertySet; }
  virtual void InitializeDialog() {}
  virtual void ResetParams() { m_Result = kPageCancel; }

protected:
  // Fonts for the locale, texts from resources, then the layout.
  void Form_Load() override;
  // The page's own check before Next; false keeps the page open.
  virtual bool CheckNext() { return true; }

  void NextButton_Click();
  void BackButton_Click();
  void CancelButton_Click();
  void HelpButton_Click();
  void ApplyLayout();

private:
  long m_layoutBase;
  std::vector<std::string> m_layoutOrder;
};

} // namespace tov
