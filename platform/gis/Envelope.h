#pragma once
#include "platform/gis/Geometry.h"

namespace tov {

// ProgID "orvaCore.Envelope". An axis-aligned rectangle; a new one is empty.
class Envelope : public Geometry {
public:
  virtual double XMin() const = 0;
  virtual double YMin() const = 0;
  virtual double XMax() const = 0;
  virtual double YMax() const = 0;
  virtual void SetXMin(double v) = 0;
  virtual void SetYMin(double v) = 0;
  virtual void SetXMax(double v) = 0;
  virtual void SetYMax(double v) = 0;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
  // Corners in any order; the envelope normalises them.
  virtual void PutCoords(double xMin, double yMin, double xMax, double yMax) = 0;
  // asRatio: width and height are multiplied by dx and dy about the centre;
  // otherwise dx and dy are added on each side.
  virtual void Expand(double dx, double dy, bool asRatio) = 0;
  // Grows to cover other (projected into this envelope's system first).
  virtual void Union(const EnvelopePtr& other) = 0;
};

using EnvelopePtr = std::shared_ptr<Envelope>;

} // namespace tov
