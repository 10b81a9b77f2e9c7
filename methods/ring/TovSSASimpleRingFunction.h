#pragma once
#include "framework/TovSSAMethodFunction.h"
#include "platform/gis/Point.h"

namespace tov {

// Stores a ring of the given radius around the site as the study area.
// Beyond the shared parameters it takes "UnitsMiles", "Radius" and "Point";
// it knows no "FromPropertyPage": a ring is always a new study area.
class TovSSASimpleRingFunction : public TovSSAMethodFunction {
public:
  static constexpr char kModulePath[] = "TovSSA\\TovSSASimpleRingFunction";
  // A kilometre counts as 0.621 miles (not the international mile).
  static constexpr double kMilesPerKilometre = 0.621;

  TovSSASimpleRingFunction();

  // The radius the ring is drawn with.
  double RadiusInMetres() const;

protected:
  // The ring is made in DoStep; Start only forgets an earlier one.
  void Prepare() override;
  bool Step() override;
  bool SetOwnParam(const std::string& key, Variant& paramValue) override;
  // Also a site and a radius greater than 0.
  bool ParametersComplete() override;

private:
  bool m_bUnitsMiles = false;
  double m_dRadius = 0.0;
  PointPtr m_pPoint;
};

} // namespace tov
