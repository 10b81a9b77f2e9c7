#pragma once
#include "host/studyareas/StudyAreaRebuilder.h"
#include "platform/runtime/Collection.h"

namespace tov {

// A ZIP code study area given a new list on the property sheet: the ZIP
// method's own page, filled with the stored list, and its own rules with
// their messages; the method's function then stores the new union in place.
class ZipCodesRebuilder : public StudyAreaRebuilder {
public:
  std::string Caption() const override { return "Change the ZIP codes..."; }
  std::string FunctionProgId() const override;
  bool Edit(const StudyAreaRecordPtr& record, const DataManagerPtr& dataManager,
            const HostApplicationPtr& application) override;
  void PassParameters(ITovFunction& function) override;

private:
  CollectionPtr m_codes;
  std::string m_text;
};

// Registers it for the ZIP code method's study areas.
void RegisterZipCodesRebuilder();

} // namespace tov
