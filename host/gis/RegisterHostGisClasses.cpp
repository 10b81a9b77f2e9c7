#include "host/gis/RegisterHostGisClasses.h"

#include "host/common/Paths.h"
#include "host/gis/GisErrors.h"
#include "platform/runtime/PathDisplay.h"
#include "host/gis/HostEnvelope.h"
#include "host/gis/HostMapControl.h"
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
#include "platform/runtime/ProgIds.h"

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
  // People read native paths, whatever form the component built.
  SetPathDisplay(&DisplayPath);
  RegisterClassOf<HostPoint>(kPointProgId);
  RegisterClassOf<HostEnvelope>(kEnvelopeProgId);
  RegisterClassOf<HostPolyline>(kPolylineProgId);
  RegisterClassOf<HostPolygon>(kPolygonProgId);
  RegisterClassOf<HostGeometryEnumerator>(kGeometryEnumeratorProgId);
  RegisterClassOf<HostSpatialReferenceFactory>(kSpatialReferenceFactoryProgId);
  RegisterClassOf<HostQueryFilter>(kQueryFilterProgId);
  RegisterClassOf<HostQueryFilter>(kSpatialFilterProgId);
  RegisterClassOf<HostField>(kFieldProgId);
  RegisterClassOf<HostFields>(kFieldsProgId);
  RegisterClassOf<HostGeometryDef>(kGeometryDefProgId);
  RegisterClassOf<HostIndex>(kIndexProgId);
  RegisterClass(kShapefileWorkspaceFactoryProgId,
                [] { return std::static_pointer_cast<Object>(std::make_shared<HostWorkspaceFactory>(WorkspaceKind::Shapefile)); });
  RegisterClass(kAccessWorkspaceFactoryProgId,
                [] { return std::static_pointer_cast<Object>(std::make_shared<HostWorkspaceFactory>(WorkspaceKind::GeoPackage)); });
  RegisterClassOf<HostScratchWorkspaceFactory>(kScratchWorkspaceFactoryProgId);
  RegisterClassOf<HostFeatureLayer>(kFeatureLayerProgId);
  RegisterClassOf<HostGroupLayer>(kGroupLayerProgId);
  RegisterClassOf<HostLayerFile>(kLayerFileProgId);
  RegisterClassOf<HostSimpleRenderer>(kSimpleRendererProgId);
  RegisterClassOf<HostFillSymbol>(kSimpleFillSymbolProgId);
  RegisterClassOf<HostLineSymbol>(kSimpleLineSymbolProgId);
  RegisterClassOf<HostMarkerSymbol>(kSimpleMarkerSymbolProgId);
  RegisterClassOf<HostTextSymbol>(kTextSymbolProgId);
  RegisterClassOf<HostRgbColor>(kRgbColorProgId);
  RegisterClassOf<HostSelectionEnvironment>(kSelectionEnvironmentProgId);
  RegisterHostMapControl();
  RegisterClassOf<HostGraphicElement>(kGraphicElementProgId);
  RegisterClassOf<HostMap>(kMapProgId);
  RegisterClassOf<HostFileSystemObject>(kFileSystemObjectProgId);
}

} // namespace tov
