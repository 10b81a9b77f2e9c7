#pragma once
#include "pages/WizardPage.h"

#include <string>

namespace tov {

// The ZIP code method's first page: the list of ZIP codes, with the rules and
// examples of the data set beside it. Its text is kept in the task's
// property set under "ZIPCodes", so the page shows it again on a later visit.
class SelectByZipCodesDialog : public WizardPage {
public:
  static constexpr char kZipCodesKey[] = "ZIPCodes";

  SelectByZipCodesDialog();

  void ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  void WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  void InitializeDialog() override;
  void ResetParams() override;

  // The text of ZipCodesText, as typed.
  std::string ZipCodes();
  // The data set's wording of its rules and examples.
  void SetRuleTexts(const std::string& rules, const std::string& validExample, const std::string& invalidExample);

protected:
  // A page closed other than by its buttons reports Cancel.
  void Form_Activate() override;

private:
  void UpdateNextButton();

  std::string m_savedZipCodes;
  bool m_zipCodesKnown = false;
};

} // namespace tov
