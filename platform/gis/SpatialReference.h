#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// A geographic or projected coordinate system. x is always the longitude
// (or easting), y the latitude (or northing).
class SpatialReference : public virtual Object {
public:
  virtual std::string Name() const = 0;
  // The catalogue code the system was made from (0 when it has none).
  virtual long FactoryCode() const = 0;
  virtual bool IsProjected() const = 0;
  virtual bool IsGeographic() const = 0;
  // True when both describe the same coordinate system.
  virtual bool IsSame(const SpatialReferencePtr& other) const = 0;
  // Well-known text, for storage and display.
  virtual std::string ExportToWkt() const = 0;
  virtual SpatialReferencePtr Clone() const = 0;

  // Projection parameters in degrees. On a geographic system the setters
  // raise an error. Each maps onto the parameter the projection really has
  // (central meridian, longitude of centre, ...); a projection without such a
  // parameter raises an error too.
  virtual double CentralMeridian() const = 0;
  virtual void SetCentralMeridian(double degrees) = 0;
  virtual double StandardParallel1() const = 0;
  virtual void SetStandardParallel1(double degrees) = 0;
  virtual double StandardParallel2() const = 0;
  virtual void SetStandardParallel2(double degrees) = 0;
};

using SpatialReferencePtr = std::shared_ptr<SpatialReference>;

} // namespace tov
