#pragma once
#include "host/datasets/AnalysisSystemChoice.h"
#include "host/datasets/LayerRoles.h"

#include <gdal_priv.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

typedef struct GEOSGeom_t GEOSGeometry;

namespace tov {

// What to add to a layer while it is copied.
struct LayerCopyPlan {
  std::string layerName;                  // of the copy
  std::map<GIntBig, std::string> labels;  // regions: the label of each feature id ("" = no label field)
  bool addIdentifiers = false;            // regions: a field of text identifiers 1, 2, ... in source order
  bool wantRegionPoints = false;          // regions: a point inside each, named by its label (or name field)
  std::string nameField;                  // regions: the field of their names
  std::string codeField;                  // codes: the field of the codes ("" = not the codes layer)
  bool keepLonLatShapes = false;          // regions: their shapes in degrees, to find places inside
};

// A point inside a feature, in WGS 84 degrees, and what it is called.
struct NamedPoint {
  std::string name;
  double latitude = 0, longitude = 0;
};

// Shapes in WGS 84 degrees, owned.
class LonLatShapes {
public:
  LonLatShapes() = default;
  LonLatShapes(const LonLatShapes&) = delete;
  LonLatShapes& operator=(const LonLatShapes&) = delete;
  LonLatShapes(LonLatShapes&& other) noexcept : m_shapes(std::move(other.m_shapes)) {}
  LonLatShapes& operator=(LonLatShapes&& other) noexcept {
    std::swap(m_shapes, other.m_shapes);
    return *this;
  }
  ~LonLatShapes();
  void Add(GEOSGeometry* shape) { m_shapes.push_back(shape); }
  const std::vector<GEOSGeometry*>& Shapes() const { return m_shapes; }

private:
  std::vector<GEOSGeometry*> m_shapes;
};

struct LayerCopyResult {
  std::string layerName;
  long features = 0, repaired = 0, dropped = 0;
  LonLatBox box;
  double typicalSize = 0; // metres: the median of sqrt(width x height) of the shapes' boxes
  std::string labelField, idField; // fields added ("" when none)
  std::vector<NamedPoint> regionPoints, codePoints;
  std::vector<std::string> codes; // every code value, for the code rules
  LonLatShapes shapes;
};

// Copies one layer into the GeoPackage in its own coordinate system (the
// assumed one for a layer without), with a spatial index: fields as they
// are, shapes in two dimensions, polygons as multipolygons. A shape that is
// not valid is repaired (and counted); one that is missing, or empty after
// repair, is left out (and counted).
LayerCopyResult CopyLayer(GDALDataset& out, const RoleLayer& source, const LayerCopyPlan& plan);

} // namespace tov
