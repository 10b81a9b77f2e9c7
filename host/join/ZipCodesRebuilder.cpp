#include "host/join/ZipCodesRebuilder.h"

#include "host/framework/MethodDescriptor.h"
#include "host/join/MethodTaskStart.h"
#include "methods/zipcodes/TovSSASelZipCodesTask.h"
#include "pages/WizardPage.h"
#include "platform/framework/DataManager.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

namespace {
constexpr char kSource[] = "Study Area Properties";
} // namespace

std::string ZipCodesRebuilder::FunctionProgId() const { return kSelZipCodesFunctionProgId; }

bool ZipCodesRebuilder::Edit(const StudyAreaRecordPtr& record, const DataManagerPtr& dataManager,
                             const HostApplicationPtr& application) {
  HostDatasetPtr dataset = dataManager->DataSetByName(record->BaseDataSet());
  TaskDescriptorPtr method = FindMethodDescriptor(dataset, kZipCodesMethod);
  if (!method) throw HostError(err::InvalidCall, kSource, "The data set offers no ZIP code method any more.");
  auto task = StartMethodTask<TovSSASelZipCodesTask>(kSelZipCodesTaskProgId, method, dataset, dataManager, application,
                                                     kSource, "The ZIP code method is not installed.",
                                                     "The ZIP code method cannot use its settings (see the error log).");
  if (task->ChangeZipCodes(record->RecordProperties()->GetProperty("FEATURESLIST")) != kPagesAccepted) return false;
  m_codes = task->ZipCodes();
  m_text = task->ZipCodesString();
  return true;
}

void ZipCodesRebuilder::PassParameters(ITovFunction& function) {
  Variant codes(m_codes), text(m_text);
  function.SetParam("ZipCodesCollection", codes);
  function.SetParam("ZipCodesString", text);
}

void RegisterZipCodesRebuilder() {
  RegisterStudyAreaRebuilder(kZipCodesMethod, [] { return std::make_unique<ZipCodesRebuilder>(); });
}

} // namespace tov
