#pragma once
#include "framework/TovSSAMethodFunction.h"

namespace tov {

// Builds the study area as the union of every shape of the method's main
// layer, read from the current data set, and stores it in one step.
class TovSSAUseWholeFunction : public TovSSAMethodFunction {
public:
  static constexpr char kModulePath[] = "TovSSA\\TovSSAUseWholeFunction";
  TovSSAUseWholeFunction();

protected:
  void Prepare() override;
  bool Step() override;

private:
  // The union of the class's shapes, in the class's coordinate system.
  GeometryPtr UniteShapes(const FeatureClassPtr& featureClass);
};

} // namespace tov
