#pragma once
#include "framework/TovSSAMethodFunction.h"

namespace tov {

inline constexpr char kCurExtentFunctionProgId[] = "TovSSA.TovSSACurExtentFunction";

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
