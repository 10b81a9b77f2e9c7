#include "host/join/ZipCodesRebuilder.h"

#include "methods/zipcodes/SelectByZipCodesDialog.h"
#include "methods/zipcodes/ZipCodeRules.h"
#include "platform/framework/DataManager.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

namespace {

constexpr char kZipMethod[] = "SetupStudyArea.WildCard";

// The stored features list is the raw list between single quotes.
std::string Unquoted(const std::string& featuresList) {
  if (featuresList.size() >= 2 && featuresList.front() == '\'' && featuresList.back() == '\'')
    return featuresList.substr(1, featuresList.size() - 2);
  return featuresList;
}

} // namespace

std::string ZipCodesRebuilder::FunctionProgId() const { return kSelZipCodesFunctionProgId; }

bool ZipCodesRebuilder::Edit(const StudyAreaRecordPtr& record, const DataManagerPtr& dataManager,
                             const HostApplicationPtr&) {
  HostDatasetPtr dataset = dataManager->DataSetByName(record->BaseDataSet());
  TaskDescriptorPtr setup = dataset ? dataset->TaskByName("SetupStudyArea") : nullptr;
  TaskDescriptorPtr method = setup ? setup->ChildByName(kZipMethod) : nullptr;
  if (!method) throw HostError(err::InvalidCall, "Study Area Properties", "The data set offers no ZIP code method any more.");
  PropertyListPtr properties = method->GetPropertyList();

  auto page = std::make_shared<SelectByZipCodesDialog>();
  page->SetRuleTexts(properties->GetValue("ZipCodeRules"), properties->GetValue("ValidExampleText"),
                     properties->GetValue("InvalidExampleText"));
  page->Ctl("ZipCodesText")->SetText(Unquoted(record->RecordProperties()->GetProperty("FEATURESLIST")));
  // Working copies for this edit, as on the method's own page.
  ZipRuleValues rules = ReadZipRuleValues(*properties);
  bool accepted = false;
  for (;;) {
    page->ResetParams();
    page->ShowModal();
    if (page->m_Result != kPageNext) break;
    m_text = page->ZipCodes();
    m_codes = ZipCodesToCollection(m_text, rules.checkValidity, rules.numericZips, rules.valueLength,
                                   rules.prefixLeastLength);
    if (m_codes) {
      accepted = true;
      break;
    }
  }
  page->Unload();
  return accepted;
}

void ZipCodesRebuilder::PassParameters(ITovFunction& function) {
  Variant codes(m_codes), text(m_text);
  function.SetParam("ZipCodesCollection", codes);
  function.SetParam("ZipCodesString", text);
}

void RegisterZipCodesRebuilder() {
  RegisterStudyAreaRebuilder(kZipMethod, [] { return std::make_unique<ZipCodesRebuilder>(); });
}

} // namespace tov
