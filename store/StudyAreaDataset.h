#pragma once
#include "platform/framework/FileInfo.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/Fields.h"
#include "platform/gis/Geometry.h"
#include "platform/gis/HostApplication.h"
#include "platform/gis/SpatialReference.h"
#include "platform/gis/Workspace.h"

#include <string>

namespace tov {

// The pieces a study area's dataset and layer are made of. Each reports its
// own failure under its name in the store module and returns no object (or
// False).

// A feature layer on a new, empty polygon dataset D & B in the analysis
// spatial reference, drawn with the default study area symbol (black outline
// 4.0, no fill).
FeatureLayerPtr CreateStudyAreaLayer(const HostApplicationPtr& application, const std::string& directory,
                                     const std::string& baseName);

// A simple feature class with the study area fields ("OID" only in a
// personal geodatabase, then "Shape"); no object without a workspace. The
// class identifier is always the standard feature class one.
FeatureClassPtr CreateFeatureClass(const WorkspacePtr& workspace, const std::string& name, long geometryType,
                                   const SpatialReferencePtr& spatialReference, const FieldsPtr& fields = nullptr,
                                   const std::string& classId = std::string());

// "Personal Geodatabase" in the extension's "Data Format": a new personal
// geodatabase B in D; anything else: the shapefile folder D.
WorkspacePtr OpenStudyAreaWorkspace(const FileInfoPtr& fileInfo, const HostApplicationPtr& application);

// Projects the polygon into the layer's data and stores it as a new feature.
bool AddPolygonFeature(const GeometryPtr& polygon, const FeatureLayerPtr& layer);

// Adds the spatial index "Idx_1" on the class's geometry field.
void AddSpatialIndex(const FeatureClassPtr& featureClass);

// The feature layer saved in a layer file, or no object when its data is
// missing.
FeatureLayerPtr OpenLayerFileLayer(const std::string& path);

// Sets the default study area symbol on a layer's simple renderer.
void ApplyStudyAreaSymbol(const FeatureLayerPtr& layer);

} // namespace tov
