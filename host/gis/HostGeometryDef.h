#pragma once
#include "platform/gis/GeometryDef.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ProgIds.h"

#include <vector>

namespace tov {

class HostGeometryDef : public GeometryDef {
public:
  long GeometryType() const override { return m_type; }
  void SetGeometryType(long type) override { m_type = type; }
  long GridCount() const override { return static_cast<long>(m_grids.size()); }
  void SetGridCount(long count) override {
    if (count < 0 || count > 3) throw HostError(err::InvalidCall, kGeometryDefProgId, "The grid count must be 0 to 3");
    m_grids.resize(static_cast<size_t>(count), 0.0);
  }
  double GridSize(long index) const override { return m_grids.at(Checked(index)); }
  void SetGridSize(long index, double size) override { m_grids.at(Checked(index)) = size; }
  long AvgNumPoints() const override { return m_avgNumPoints; }
  void SetAvgNumPoints(long count) override { m_avgNumPoints = count; }
  bool HasM() const override { return m_hasM; }
  void SetHasM(bool value) override { m_hasM = value; }
  bool HasZ() const override { return m_hasZ; }
  void SetHasZ(bool value) override { m_hasZ = value; }
  SpatialReferencePtr SpatialReference() const override { return m_sr; }
  void SetSpatialReference(const SpatialReferencePtr& sr) override { m_sr = sr; }

private:
  size_t Checked(long index) const {
    if (index < 0 || index >= GridCount())
      throw HostError(err::SubscriptOutOfRange, kGeometryDefProgId, "There is no grid number " + std::to_string(index));
    return static_cast<size_t>(index);
  }
  long m_type = 0;
  std::vector<double> m_grids;
  long m_avgNumPoints = 0;
  bool m_hasM = false, m_hasZ = false;
  SpatialReferencePtr m_sr;
};

} // namespace tov
