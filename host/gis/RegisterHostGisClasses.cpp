#include "host/gis/RegisterHostGisClasses.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostEnvelope.h"
#include "host/gis/HostFeatureLayer.h"
#include "host/gis/HostField.h"
#include "host/gis/HostFields.h"
#include "host/gis/HostFileSystemObject.h"
#include "host/gis/HostFillSymbol.h"
#include "host/gis/HostGeometryDef.h"
#include "host/gis/HostGeometryEnumerator.h"
#include "host/gis/HostGraphicElement.h"
#include "host/gis/HostGroupLayer.h"
#include "host/gis/HostIndex.h"
#include "host/gis/HostLayerFile.h"
#include "host/gis/HostMap.h"
#include "host/gis/HostMarkerSymbol.h"
#include "host/gis/HostPoint.h"
#include "host/gis/HostPolygon.h"
#include "host/gis/HostPolyline.h"
#include "host/gis/HostQueryFilter.h"
#include "host/gis/HostScratchWorkspaceFactory.h"
#include "host/gis/HostSelectionEnvironment.h"
#include "host/gis/HostSimpleRenderer.h"
#include "host/gis/HostSpatialReferenceFactory.h"
#include "host/gis/HostTextSymbol.h"
#include "host/gis/HostWorkspaceFactory.h"
#include "platform/runtime/ObjectRegistry.h"

#include <cpl_conv.h>
#include <gdal_priv.h>

namespace tov {

void InitHostGis() {
  static bool done = false;
  if (done) return;
  done = true;
  // Deprecated codes such as 4035 (authalic sphere) must stay what they are
  // instead of being replaced by their successors.
  CPLSetConfigOption("OSR_USE_NON_DEPRECATED", "NO");
  GDALAllRegister();
  InstallGisErrorHandlers();
  GeosHandle();
}

void RegisterHostGisClasses() {
  InitHostGis();
  RegisterClassOf<HostPoint>("orvaCore.Point");
  RegisterClassOf<HostEnvelope>("orvaCore.Envelope");
  RegisterClassOf<HostPolyline>("orvaCore.Polyline");
  RegisterClassOf<HostPolygon>("orvaCore.Polygon");
  RegisterClassOf<HostGeometryEnumerator>("orvaCore.GeometryEnumerator");
  RegisterClassOf<HostSpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment");
  RegisterClassOf<HostQueryFilter>("orvaCore.QueryFilter");
  RegisterClassOf<HostQueryFilter>("orvaCore.SpatialFilter");
  RegisterClassOf<HostField>("orvaCore.Field");
  RegisterClassOf<HostFields>("orvaCore.Fields");
  RegisterClassOf<HostGeometryDef>("orvaCore.GeometryDef");
  RegisterClassOf<HostIndex>("orvaCore.Index");
  RegisterClass("orvaCore.ShapefileWorkspaceFactory",
                [] { return std::static_pointer_cast<Object>(std::make_shared<HostWorkspaceFactory>(WorkspaceKind::Shapefile)); });
  RegisterClass("orvaCore.AccessWorkspaceFactory",
                [] { return std::static_pointer_cast<Object>(std::make_shared<HostWorkspaceFactory>(WorkspaceKind::GeoPackage)); });
  RegisterClassOf<HostScratchWorkspaceFactory>("orvaCore.ScratchWorkspaceFactory");
  RegisterClassOf<HostFeatureLayer>("orvaCore.FeatureLayer");
  RegisterClassOf<HostGroupLayer>("orvaCore.GroupLayer");
  RegisterClassOf<HostLayerFile>("orvaCore.LayerFile");
  RegisterClassOf<HostSimpleRenderer>("orvaCore.SimpleRenderer");
  RegisterClassOf<HostFillSymbol>("orvaCore.SimpleFillSymbol");
  RegisterClassOf<HostLineSymbol>("orvaCore.SimpleLineSymbol");
  RegisterClassOf<HostMarkerSymbol>("orvaCore.SimpleMarkerSymbol");
  RegisterClassOf<HostTextSymbol>("orvaCore.TextSymbol");
  RegisterClassOf<HostRgbColor>("orvaCore.RgbColor");
  RegisterClassOf<HostSelectionEnvironment>("orvaCore.SelectionEnvironment");
  RegisterClassOf<HostGraphicElement>("orvaCore.GraphicElement");
  RegisterClassOf<HostMap>("orvaCore.Map");
  RegisterClassOf<HostFileSystemObject>("Scripting.FileSystemObject");
}

} // namespace tov
