#pragma once
#include "host/studyareas/StudyAreaRebuilder.h"

namespace tov {

// A whole-layer study area made again from its main layer as it is now (the
// layer's data may have changed since): nothing to ask, the method's
// function runs from the property sheet.
class WholeLayerRebuilder : public StudyAreaRebuilder {
public:
  std::string Caption() const override { return "Rebuild from the whole layer"; }
  std::string FunctionProgId() const override;
  bool Edit(const StudyAreaRecordPtr&, const DataManagerPtr&, const HostApplicationPtr&) override { return true; }
  void PassParameters(ITovFunction&) override {}
};

} // namespace tov
