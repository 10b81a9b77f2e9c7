#pragma once
#include "host/gis/HostFeatureClass.h"
#include "platform/gis/Feature.h"

#include <ogr_feature.h>

namespace tov {

class HostFeature : public Feature {
public:
  // feature is null for a new row.
  HostFeature(HostFeatureClassPtr featureClass, std::unique_ptr<OGRFeature> feature);

  long OID() const override;
  FieldsPtr Fields() const override;
  Variant Value(long index) const override;
  void SetValue(long index, const Variant& value) override;
  GeometryPtr Shape() const override;
  GeometryPtr ShapeCopy() const override;
  void SetShape(const GeometryPtr& geometry) override;
  EnvelopePtr Extent() const override;
  void Store() override;
  void Delete() override;
  FeatureClassPtr Class() const override { return m_class; }

private:
  void RecomputeExtent();
  void CheckIndex(long index) const;

  HostFeatureClassPtr m_class;
  std::unique_ptr<OGRFeature> m_feature;
  mutable GeometryPtr m_shape; // made on first use, written back by Store
};

} // namespace tov
