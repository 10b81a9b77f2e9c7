#pragma once
#include "host/studyareas/StudyAreaRebuilder.h"
#include "platform/gis/Feature.h"

namespace tov {

// A drawn study area drawn again from its property sheet: the method's own
// drawing page, showing the stored shape and the map around it; the
// method's function then stores the new shape in place.
class DrawnAreaRebuilder : public StudyAreaRebuilder {
public:
  std::string Caption() const override { return "Draw again..."; }
  std::string FunctionProgId() const override;
  // False when the user left the page other than by Next.
  bool Edit(const StudyAreaRecordPtr& record, const DataManagerPtr& dataManager,
            const HostApplicationPtr& application) override;
  void PassParameters(ITovFunction& function) override;

private:
  FeaturePtr m_feature;
};

// Registers it for the drawn area method's study areas.
void RegisterDrawnAreaRebuilder();

} // namespace tov
