#include "methods/whole/TovSSAUseWholeFunction.h"

#include "pages/modi18N.h"
#include "platform/forms/MsgBox.h"
#include "platform/framework/DataAccessService.h"
#include "platform/framework/PropertyList.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/GeometryEnumerator.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/QueryFilter.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/Settings.h"

namespace tov {

namespace {
constexpr char kMainLayer[] = "MainLayer";
} // namespace

TovSSAUseWholeFunction::TovSSAUseWholeFunction() : TovSSAMethodFunction(kModulePath, PropertyPageKey::Known) {}

void TovSSAUseWholeFunction::Prepare() {
  m_status = 1;
  m_lastError = 0;
}

bool TovSSAUseWholeFunction::Step() {
  TovExtensionPtr extension = Must(GetTovExtension(m_pApplication), "the analysis extension");
  DataAccessServicePtr service = extension->GetDataAccessService();
  if (!service) {
    m_lastError = kErrorNoMainLayer;
    return false;
  }

  m_geometry.reset();
  const std::string layerName =
      Must(Must(m_pSSATask, "the task descriptor")->GetPropertyList(), "the task settings")->GetValue(kMainLayer);
  const std::string dataSetName = Must(m_pDataSet, "the data set")->Name();

  FeatureClassPtr featureClass = service->OpenFeatureClass(layerName, dataSetName);
  if (!featureClass) {
    ResourceFinderPtr texts = GetTextResources();
    MsgBox(texts->FindString("179") + layerName + texts->FindString("178"), vbCritical, texts->FindString("168"));
    m_lastError = kErrorNoMainLayer;
    return false;
  }

  m_geometry = UniteShapes(featureClass);
  Store(m_geometry, std::string());
  return false;
}

GeometryPtr TovSSAUseWholeFunction::UniteShapes(const FeatureClassPtr& featureClass) {
  auto shapes = CreateAs<GeometryEnumerator>(kGeometryEnumeratorProgId);
  shapes->BindGeometrySource(CreateAs<QueryFilter>(kQueryFilterProgId), featureClass);
  // One union over all shapes: the host does it in a single pass.
  auto polygon = CreateAs<Polygon>(kPolygonProgId);
  polygon->ConstructUnion(shapes);
  polygon->Simplify();
  return polygon;
}

} // namespace tov
