#pragma once
#include "host/gis/HostWorkspace.h"
#include "platform/gis/FeatureClass.h"

#include <ogrsf_frmts.h>

#include <vector>

namespace tov {

// A layer of a workspace. Field 0 is the object id, field 1 the shape, then
// the attribute fields in storage order.
class HostFeatureClass : public FeatureClass {
public:
  // Reads the class's fields and system now; a missing class raises.
  HostFeatureClass(HostWorkspacePtr workspace, std::string name);
  // A class of a workspace made by OpenWhenUsed, read only when first used:
  // its name and workspace answer where the data lives without opening it.
  static std::shared_ptr<HostFeatureClass> WhenUsed(HostWorkspacePtr workspace, std::string name);

  std::string Name() const override { return m_name; }
  std::string AliasName() const override { return m_name; }
  long ShapeType() const override;
  std::string ShapeFieldName() const override;
  std::string OIDFieldName() const override;
  SpatialReferencePtr SpatialReference() const override;
  FieldsPtr Fields() const override;
  long FindField(const std::string& name) const override;
  WorkspacePtr Workspace() const override { return m_workspace; }
  EnvelopePtr Extent() const override;
  FeaturePtr CreateFeature() override;
  FeaturePtr GetFeature(long oid) override;
  long FeatureCount(const QueryFilterPtr& filter) override;
  FeatureCursorPtr Search(const QueryFilterPtr& filter, bool recycling) override;
  FeatureCursorPtr Update(const QueryFilterPtr& filter, bool recycling) override;
  SelectionSetPtr Select(const QueryFilterPtr& filter, long selectionType, long selectionOption,
                         const WorkspacePtr& scratchWorkspace) override;
  void AddIndex(const IndexPtr& index) override;
  bool HasSpatialIndex() const override;
  void Delete() override;

  // Counts the rows written or deleted through this class's features, so
  // that whatever keeps shapes of the class can tell they changed.
  unsigned long Revision() const { return m_revision; }
  void NoteEdit() { ++m_revision; }

  // The storage layer; a deleted class raises.
  OGRLayer* Layer() const;
  const HostWorkspacePtr& HostWorkspaceOf() const { return m_workspace; }
  // Object ids of the rows that pass filter, in storage order.
  std::vector<long> CollectIds(const QueryFilterPtr& filter);
  // Every shape that passes filter, in one pass.
  std::vector<GeometryPtr> ReadShapes(const QueryFilterPtr& filter);
  // The rows of these ids, in the order given; an id no row has any more is
  // left out. One query for a GeoPackage (a row at a time costs a lock of
  // its file each), a row at a time for a shapefile.
  // subFields (comma-separated, "" or "*" for all) limits the columns read;
  // the shape is read only when listed.
  std::vector<FeaturePtr> ReadFeatures(const std::vector<long>& ids, const std::string& subFields = std::string());
  // The ids of the rows that pass a condition the layer's driver refused,
  // by OGR's own SQL where that can help; else the refusal is raised.
  std::vector<long> IdsByOgrSql(const QueryFilterPtr& filter);
  // Sets the filter on the layer for one pass, and clears it again.
  void ApplyFilter(const QueryFilterPtr& filter);
  void ClearFilter();
  // The class is a table of a PostGIS database (read-only here; its reads
  // are in PostgisTableQueries).
  bool IsPostgis() const;
  // Whether a field list (comma-separated; "" or "*": all) names a field,
  // or the shape.
  static bool Lists(const std::string& subFields, const std::string& name);

private:
  struct Unread {};
  HostFeatureClass(HostWorkspacePtr workspace, std::string name, Unread);
  // Reads the fields and the system, once.
  void Describe() const;
  std::shared_ptr<HostFeatureClass> Self();
  // Leaves the fields not named in subFields out of the next reads.
  void IgnoreFieldsBut(const std::string& subFields);

  HostWorkspacePtr m_workspace;
  std::string m_name;
  mutable FieldsPtr m_fields; // null until described
  mutable SpatialReferencePtr m_sr;
  unsigned long m_revision = 0;
};

using HostFeatureClassPtr = std::shared_ptr<HostFeatureClass>;

} // namespace tov
