#pragma once
#include "framework/TovSSAMethodFunction.h"

namespace tov {

// Builds the study area from the visible extent of the focus map, densified
// so that it keeps its shape in the analysis coordinate system.
class TovSSACurExtentFunction : public TovSSAMethodFunction {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSACurExtentFunction";
  TovSSACurExtentFunction();

protected:
  // Builds the polygon; the geometry field changes only when all went well.
  void Prepare() override;

private:
  GeometryPtr BuildGeometry();
};

} // namespace tov
