#pragma once
#include "platform/gis/SpatialReference.h"

#include <ogr_spatialref.h>

namespace tov {

// A coordinate system on OGRSpatialReference, always in the traditional GIS
// axis order (x = longitude / easting).
class HostSpatialReference : public SpatialReference {
public:
  explicit HostSpatialReference(const OGRSpatialReference& sr);

  std::string Name() const override;
  long FactoryCode() const override;
  bool IsProjected() const override;
  bool IsGeographic() const override;
  bool IsSame(const SpatialReferencePtr& other) const override;
  std::string ExportToWkt() const override;
  SpatialReferencePtr Clone() const override;
  double CentralMeridian() const override;
  void SetCentralMeridian(double degrees) override;
  double StandardParallel1() const override;
  void SetStandardParallel1(double degrees) override;
  double StandardParallel2() const override;
  void SetStandardParallel2(double degrees) override;

  const OGRSpatialReference& Ogr() const { return m_sr; }
  // Counts the changes of the system's parameters, so that what was worked
  // out from the system (a transformation) can tell that it is stale.
  unsigned Revision() const { return m_revision; }

  // The OGR system behind sr, or null for a missing or foreign object.
  static const OGRSpatialReference* OgrOf(const SpatialReferencePtr& sr);
  static SpatialReferencePtr FromOgr(const OGRSpatialReference* sr);
  // Makes the system for a catalogue code; raises when it is unknown.
  static OGRSpatialReference FromCode(long code);

private:
  double Parameter(const char* const* names, const char* what) const;
  void SetParameter(const char* const* names, const char* what, double degrees);

  OGRSpatialReference m_sr;
  bool m_modified = false; // parameters changed: no longer the catalogue's system
  unsigned m_revision = 0;
};

} // namespace tov
