#pragma once
#include "platform/runtime/ProgIds.h"
#include "framework/TovSSAMethodFunction.h"

namespace tov {

// Builds the study area from the visible extent of the focus map, densified
// so that it keeps its shape in the analysis coordinate system.
class TovSSACurExtentFunction : public TovSSAMethodFunction {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSACurExtentFunction";
  TovSSACurExtentFunction();

protected:
  GeometryPtr BuildGeometry() override;
};

} // namespace tov
