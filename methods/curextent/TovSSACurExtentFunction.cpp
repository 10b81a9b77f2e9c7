#include "methods/curextent/TovSSACurExtentFunction.h"

#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/Point.h"
#include "platform/gis/Polygon.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/AnalysisSpatialReference.h"
#include "store/PolygonRepair.h"

namespace tov {

TovSSACurExtentFunction::TovSSACurExtentFunction() : TovSSAMethodFunction(kModulePath) {}

void TovSSACurExtentFunction::Prepare() { m_geometry = BuildGeometry(); }

GeometryPtr TovSSACurExtentFunction::BuildGeometry() {
  MapDocumentPtr document = Must(m_pApplication->Document(), "the document");
  ActiveViewPtr view = Must(As<ActiveView>(document->FocusMap()), "the focus map's view");
  EnvelopePtr extent = Must(view->Extent(), "the visible extent");

  auto polygon = CreateAs<Polygon>(kPolygonProgId);
  polygon->SetSpatialReference(extent->SpatialReference());
  const double corners[4][2] = {{extent->XMin(), extent->YMin()},
                                {extent->XMax(), extent->YMin()},
                                {extent->XMax(), extent->YMax()},
                                {extent->XMin(), extent->YMax()}};
  for (const auto& corner : corners) {
    auto point = CreateAs<Point>(kPointProgId);
    point->PutCoords(corner[0], corner[1]);
    polygon->AddPoint(point);
  }
  SimplifyIgnoringFailure(polygon);

  // A hundred segments on each vertical side keep the rectangle's shape
  // through the projection.
  const double height = Must(polygon->Envelope(), "the polygon's envelope")->Height();
  polygon->Densify(height / 100.0, 0);
  polygon->Project(GetAnalysisSpatialReference(m_pApplication));
  SimplifyIgnoringFailure(polygon);
  return polygon;
}

} // namespace tov
