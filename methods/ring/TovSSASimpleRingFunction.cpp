#include "methods/ring/TovSSASimpleRingFunction.h"

#include "store/GeodesicRing.h"

namespace tov {

TovSSASimpleRingFunction::TovSSASimpleRingFunction() : TovSSAMethodFunction(kModulePath) {}

double TovSSASimpleRingFunction::RadiusInMetres() const {
  const double kilometres = m_bUnitsMiles ? m_dRadius / kMilesPerKilometre : m_dRadius;
  return kilometres * 1000.0;
}

void TovSSASimpleRingFunction::Prepare() { m_geometry.reset(); }

bool TovSSASimpleRingFunction::Step() {
  // A ring that cannot be made reaches the store as no polygon, which
  // reports it.
  m_geometry = CreateGeodesicRing(m_pPoint, RadiusInMetres());
  Store(m_geometry, std::string());
  return false;
}

bool TovSSASimpleRingFunction::SetOwnParam(const std::string& key, Variant& paramValue) {
  if (key == "UnitsMiles")
    m_bUnitsMiles = paramValue.ToBool();
  else if (key == "Radius")
    m_dRadius = paramValue.ToDouble();
  else if (key == "Point")
    m_pPoint = paramValue.ToObjectAs<Point>();
  else
    return false;
  return true;
}

bool TovSSASimpleRingFunction::ParametersComplete() {
  return TovSSAMethodFunction::ParametersComplete() && m_pPoint && m_dRadius > 0.0;
}

} // namespace tov
