#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// A table of features with one geometry field.
class FeatureClass : public virtual Object {
public:
  // The dataset name.
  virtual std::string Name() const = 0;
  virtual std::string AliasName() const = 0;
  // geometryPoint, geometryPolyline or geometryPolygon.
  virtual long ShapeType() const = 0;
  virtual std::string ShapeFieldName() const = 0;
  virtual std::string OIDFieldName() const = 0;
  virtual SpatialReferencePtr SpatialReference() const = 0;
  virtual FieldsPtr Fields() const = 0;
  virtual long FindField(const std::string& name) const = 0;
  virtual WorkspacePtr Workspace() const = 0;
  // The full extent of the stored shapes (empty when there are none).
  virtual EnvelopePtr Extent() const = 0;

  // A new feature; it is written by its Store.
  virtual FeaturePtr CreateFeature() = 0;
  // The feature with this id; a missing one raises an error.
  virtual FeaturePtr GetFeature(long oid) = 0;
  virtual long FeatureCount(const QueryFilterPtr& filter) = 0;
  // Missing filter: every row. The filter may be a SpatialFilter.
  virtual FeatureCursorPtr Search(const QueryFilterPtr& filter, bool recycling) = 0;
  virtual FeatureCursorPtr Update(const QueryFilterPtr& filter, bool recycling) = 0;
  // The rows that pass filter as a selection set. selectionOptionOnlyOne
  // keeps the first, selectionOptionEmpty none. The scratch workspace is
  // accepted for compatibility; sets are held in memory.
  virtual SelectionSetPtr Select(const QueryFilterPtr& filter, long selectionType, long selectionOption,
                                 const WorkspacePtr& scratchWorkspace) = 0;
  // Adds an index. On the geometry field it is the spatial index; a class
  // that has one already raises an error.
  virtual void AddIndex(const IndexPtr& index) = 0;
  virtual bool HasSpatialIndex() const = 0;
  // Deletes the dataset and its files.
  virtual void Delete() = 0;
};

using FeatureClassPtr = std::shared_ptr<FeatureClass>;

} // namespace tov
