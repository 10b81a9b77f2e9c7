#include "methods/zipcodes/TovSSASelZipCodesTask.h"

#include "methods/zipcodes/SelectByZipCodesDialog.h"
#include "methods/zipcodes/ZipCodeRules.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

TovSSASelZipCodesTask::TovSSASelZipCodesTask()
    : TovSSAMethodTask(kModulePath, kSelZipCodesFunctionProgId, SetParamFailures::Report) {}

int32_t TovSSASelZipCodesTask::RunPages() { return ShowSelectZipCodesDialog(); }

int32_t TovSSASelZipCodesTask::ShowSelectZipCodesDialog() {
  // A failure ends the run as Cancel would: nothing half-entered goes on
  // (see docs/departures.md).
  return Trap(m_errors, "ShowSelectZipCodesDialog ", kPageCancel, [&] {
    auto page = std::make_shared<SelectByZipCodesDialog>();
    PropertyListPtr properties =
        Must(Must(m_pSSATask, "the method's task descriptor")->GetPropertyList(), "the method's settings");
    page->SetRuleTexts(properties->GetValue("ZipCodeRules"), properties->GetValue("ValidExampleText"),
                       properties->GetValue("InvalidExampleText"));
    // Working copies for this run: parsing with checking off changes them.
    ZipRuleValues rules = ReadZipRuleValues(*properties);

    return RunPage(page, [&] {
      m_zipCodesString = page->ZipCodes();
      m_zipCodes = ZipCodesToCollection(m_zipCodesString, rules.checkValidity, rules.numericZips, rules.valueLength,
                                        rules.prefixLeastLength, ShowZipRefusal, m_errors);
      return m_zipCodes ? ShowNamePageUnlessKept() : kPageBack;
    });
  });
}

int32_t TovSSASelZipCodesTask::ChangeZipCodes(const std::string& featuresList) {
  // The function stores the list as typed between single quotes.
  std::string text = featuresList;
  if (text.size() >= 2 && text.front() == '\'' && text.back() == '\'') text = text.substr(1, text.size() - 2);
  if (!pPropertySet) pPropertySet = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);
  pPropertySet->SetProperty(SelectByZipCodesDialog::kZipCodesKey, text);
  return RunPagesKeepingName();
}

bool TovSSASelZipCodesTask::FunctionInputsMissing() { return false; }

void TovSSASelZipCodesTask::PassParameters() {
  Must(m_function, "the method's function");
  PassObject("Application", m_pApplication);
  PassObject("DataManager", m_pDataManager);
  PassValue("StudyAreaName", m_sSAName);
  PassObject("ZipCodesCollection", m_zipCodes);
  PassValue("ZipCodesString", m_zipCodesString);
  PassObject("DataSet", m_pDataSet);
  PassObject("SSATask", m_pSSATask);
  PassValue("FromPropertyPage", false);
}

} // namespace tov
