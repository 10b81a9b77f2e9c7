#pragma once
#include "framework/TovSSAMethodFunction.h"
#include "platform/gis/Feature.h"

namespace tov {

// Stores a copy of the drawn feature's shape as the study area, with an
// empty features list. All the work is done in Start; DoStep has none left.
class TovSSASelDrawingFunction : public TovSSAMethodFunction {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSASelDrawingFunction";
  TovSSASelDrawingFunction();

  // True when the study area was stored; otherwise last error 47. A shape
  // that is not a polygon gives the store no polygon, which it refuses.
  bool Start() override;

protected:
  bool Step() override { return false; }
  bool SetOwnParam(const std::string& key, Variant& paramValue) override;
  bool ParametersComplete() override;

private:
  FeaturePtr m_pFeature;
};

} // namespace tov
