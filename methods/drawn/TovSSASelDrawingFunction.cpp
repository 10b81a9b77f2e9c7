#include "methods/drawn/TovSSASelDrawingFunction.h"

#include "platform/gis/Geometry.h"

namespace tov {

TovSSASelDrawingFunction::TovSSASelDrawingFunction() : TovSSAMethodFunction(kModulePath, PropertyPageKey::Known) {}

bool TovSSASelDrawingFunction::SetOwnParam(const std::string& key, Variant& paramValue) {
  if (key != "Feature") return false;
  m_pFeature = paramValue.ToObjectAs<Feature>();
  return true;
}

bool TovSSASelDrawingFunction::ParametersComplete() {
  return TovSSAMethodFunction::ParametersComplete() && m_pFeature;
}

bool TovSSASelDrawingFunction::Start() {
  return Trap(m_errors, "ITovFunction_Start ", false, [&] {
    Must(m_pApplication, "the application");
    m_geometry.reset();
    GeometryPtr shape = Must(m_pFeature, "the drawn area")->Shape();
    if (shape && shape->GeometryType() == geometryPolygon) m_geometry = shape->Copy();
    const bool stored = Store(m_geometry, std::string());
    m_status = 1;
    m_lastError = stored ? 0 : kErrorMissingParameter;
    return stored;
  });
}

} // namespace tov
