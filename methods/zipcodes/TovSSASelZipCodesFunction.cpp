#include "methods/zipcodes/TovSSASelZipCodesFunction.h"

#include "platform/framework/DataAccessService.h"
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

constexpr char kMainLayerKey[] = "DSMainLayer";
constexpr char kZipFieldKey[] = "DSMainLayerIDFieldName";

// A code as an SQL text literal's contents: a quote in it is doubled, so a
// code (possible where codes need not be numeric) cannot end the literal
// (see docs/departures.md).
std::string LiteralText(const std::string& code) {
  std::string text;
  for (char c : code) {
    text += c;
    if (c == '\'') text += '\'';
  }
  return text;
}

} // namespace

TovSSASelZipCodesFunction::TovSSASelZipCodesFunction() : TovSSAMethodFunction(kModulePath, PropertyPageKey::Known) {}

bool TovSSASelZipCodesFunction::SetOwnParam(const std::string& key, Variant& paramValue) {
  if (key == "ZipCodesCollection") {
    m_zipCodes = paramValue.ToObjectAs<Collection>();
    return true;
  }
  if (key == "ZipCodesString") {
    m_zipCodesString = paramValue.ToString();
    return true;
  }
  return false;
}

bool TovSSASelZipCodesFunction::ParametersComplete() {
  return TovSSAMethodFunction::ParametersComplete() && !m_zipCodesString.empty() && m_zipCodes;
}

bool TovSSASelZipCodesFunction::Init() {
  const bool complete = TovSSAMethodFunction::Init();
  return Trap(m_errors, "ITovFunction_Init ", false, [&] {
    FindMainLayer();
    return complete;
  });
}

void TovSSASelZipCodesFunction::FindMainLayer() {
  // Without them Init has already said what is missing.
  if (!m_pSSATask || !m_pDataSet) return;
  m_zipFieldName = m_pSSATask->GetValue(kZipFieldKey);
  m_mainLayer = m_pDataSet->LayerByName(m_pSSATask->GetValue(kMainLayerKey));
}

void TovSSASelZipCodesFunction::Prepare() { m_geometry.reset(); }

std::string TovSSASelZipCodesFunction::ZipWhereClause(const std::string& fieldName, const Collection& codes) {
  std::string clause;
  for (const Variant& code : codes) clause += "(" + fieldName + " LIKE '" + LiteralText(code.ToString()) + "') OR ";
  // The last " OR " goes.
  if (!clause.empty()) clause.resize(clause.size() - 4);
  return clause;
}

bool TovSSASelZipCodesFunction::Step() {
  if (!m_zipCodes || m_zipCodes->Count() == 0) return false;

  auto polygon = CreateAs<Polygon>(kPolygonProgId);
  auto shapes = CreateAs<GeometryEnumerator>(kGeometryEnumeratorProgId);
  auto filter = CreateAs<QueryFilter>(kQueryFilterProgId);
  TovExtensionPtr extension = Must(GetTovExtension(m_pApplication), "the analysis extension");
  DataAccessServicePtr dataAccess = Must(extension->GetDataAccessService(), "the data access service");
  const std::string mainLayer = m_pSSATask ? m_pSSATask->GetValue(kMainLayerKey) : std::string();
  Must(m_mainLayer, ("the main layer \"" + mainLayer + "\" of the data set").c_str());
  FeatureClassPtr featureClass =
      dataAccess->OpenFeatureClass(m_mainLayer->SourceName(), Must(m_pDataSet, "the data set")->DataSetPath());
  if (!featureClass) return false;

  filter->SetSubFields("Shape," + m_zipFieldName);
  filter->SetWhereClause(ZipWhereClause(m_zipFieldName, *m_zipCodes));
  shapes->BindGeometrySource(filter, featureClass);
  polygon->ConstructUnion(shapes);
  polygon->Simplify();
  m_geometry = polygon;

  // No matching area leaves the polygon empty, which the store refuses with
  // its own message.
  Store(m_geometry, "'" + m_zipCodesString + "'");
  return false;
}

} // namespace tov
