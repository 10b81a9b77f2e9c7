#include "methods/selshapes/TovSSACurSelShapesFunction.h"

#include "platform/gis/Feature.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/GraphicElement.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "methods/selshapes/ShapeList.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/AnalysisSpatialReference.h"
#include "store/PolygonRepair.h"

namespace tov {

namespace {

MapPtr FocusMapOf(const HostApplicationPtr& application) {
  return Must(Must(application->Document(), "the document")->FocusMap(), "the focus map");
}

} // namespace

TovSSACurSelShapesFunction::TovSSACurSelShapesFunction() : TovSSAMethodFunction(kModulePath) {}

void TovSSACurSelShapesFunction::Prepare() {
  m_featureCursor = Must(FocusMapOf(m_pApplication)->FeatureSelection(), "the map's feature selection");
  m_featureCursor->Reset();
  m_analysisSR = GetAnalysisSpatialReference(m_pApplication);
  m_stepState = kStepFeatures;
}

bool TovSSACurSelShapesFunction::Step() {
  switch (m_stepState) {
  case kStepFeatures:
    ReadFeatures();
    return true;
  case kStepOpenGraphics:
    OpenGraphics();
    return true;
  case kStepGraphics:
    ReadGraphic();
    return true;
  default:
    UniteGathered();
    Store(m_geometry, std::string());
    return false;
  }
}

void TovSSACurSelShapesFunction::ReadFeatures() {
  Must(m_featureCursor, "the map's feature selection");
  for (int i = 0; i < kFeaturesPerStep; ++i) {
    FeaturePtr feature = m_featureCursor->Next();
    if (!feature) {
      m_stepState = kStepOpenGraphics;
      return;
    }
    GeometryPtr shape = feature->Shape();
    // The feature's own shape must not change: the union takes a copy.
    if (shape && shape->GeometryType() == geometryPolygon) AddPolygonShape(feature->ShapeCopy());
  }
}

void TovSSACurSelShapesFunction::OpenGraphics() {
  m_elementCursor = FocusMapOf(m_pApplication)->SelectedElements();
  if (m_elementCursor) m_elementCursor->Reset();
  m_stepState = m_elementCursor ? kStepGraphics : kStepStore;
}

void TovSSACurSelShapesFunction::ReadGraphic() {
  GraphicElementPtr element = m_elementCursor ? m_elementCursor->Next() : GraphicElementPtr();
  if (!element) {
    m_stepState = kStepStore;
    return;
  }
  // Text, line and point graphics are passed over.
  GeometryPtr shape = element->Geometry();
  if (shape && shape->GeometryType() == geometryPolygon) AddPolygonShape(shape->Copy());
}

void TovSSACurSelShapesFunction::AddPolygonShape(const GeometryPtr& shape) {
  PolygonPtr polygon = Must(As<Polygon>(shape), "the copy of a polygon shape");
  polygon->Generalize(kGeneralizeOffset);
  Gather(polygon, true);
}

void TovSSACurSelShapesFunction::Gather(const PolygonPtr& polygon, bool project) {
  SimplifyIgnoringFailure(polygon);
  try {
    if (project)
      polygon->Project(m_analysisSR);
    else
      polygon->SetSpatialReference(m_analysisSR);
  } catch (...) {
    return;
  }
  m_gathered.push_back(polygon);
}

void TovSSACurSelShapesFunction::UniteGathered() {
  m_geometry.reset();
  if (m_gathered.empty()) return;
  try {
    auto united = CreateAs<Polygon>(kPolygonProgId);
    united->ConstructUnion(std::make_shared<ShapeList>(m_gathered));
    m_geometry = united;
    SimplifyIgnoringFailure(united);
  } catch (...) {
    m_geometry.reset();
    for (const PolygonPtr& polygon : m_gathered) UniteOne(polygon);
  }
  m_gathered.clear();
}

void TovSSACurSelShapesFunction::UniteOne(const PolygonPtr& polygon) {
  if (!m_geometry) {
    m_geometry = polygon;
    return;
  }
  PolygonPtr united;
  try {
    united = As<Polygon>(polygon->Union(m_geometry));
  } catch (...) {
    return;
  }
  if (!united) return;
  m_geometry = united;
  SimplifyIgnoringFailure(united);
}

} // namespace tov
