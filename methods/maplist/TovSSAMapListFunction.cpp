#include "methods/maplist/TovSSAMapListFunction.h"

#include "platform/framework/DataAccessService.h"
#include "platform/framework/TaskLayer.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/GeometryEnumerator.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/QueryFilter.h"
#include "platform/gis/ScratchWorkspaceFactory.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/Settings.h"

namespace tov {

namespace {

constexpr char kMainLayerKey[] = "MainLayer";
constexpr char kListFieldKey[] = "ListField";
constexpr char kIdFieldKey[] = "MainLayerIDFieldName";
constexpr char kShapesIdFieldKey[] = "DSMainLayerIDFieldName";
constexpr char kShapesLayerKey[] = "DSMainLayer";

// A name as the contents of an SQL text literal: a quote in it is doubled,
// so "O'Brien, IA" cannot end the literal.
std::string LiteralText(const std::string& name) {
  std::string text;
  for (char c : name) {
    text += c;
    if (c == '\'') text += '\'';
  }
  return text;
}

} // namespace

TovSSAMapListFunction::TovSSAMapListFunction() : TovSSAMethodFunction(kModulePath, PropertyPageKey::Known) {}

bool TovSSAMapListFunction::SetOwnParam(const std::string& key, Variant& paramValue) {
  if (key == "RegionsSelectedByNames") {
    m_regionsSelectedByNames = paramValue.ToObjectAs<Collection>();
    return true;
  }
  if (key == "SelectionSet") {
    m_selectionSet = paramValue.ToObjectAs<SelectionSet>();
    return true;
  }
  return false;
}

bool TovSSAMapListFunction::ParametersComplete() {
  return TovSSAMethodFunction::ParametersComplete() && (m_selectionSet || m_regionsSelectedByNames);
}

bool TovSSAMapListFunction::Init() {
  const bool complete = TovSSAMethodFunction::Init();
  // A configuration that cannot be read is reported; the step then says
  // what it misses.
  Trap(m_errors, "ITovFunction_Init ", [&] {
    // Without them Init has already said what is missing.
    if (m_pSSATask && m_pDataSet) ReadConfiguration();
  });
  return complete;
}

void TovSSAMapListFunction::ReadConfiguration() {
  const std::string mainLayer = Must(m_pSSATask->GetPropertyList(), "the method's settings")->GetValue(kMainLayerKey);
  m_mainLayer = m_pDataSet->LayerByName(mainLayer);
  const std::string layerWhat = "the method's layer \"" + mainLayer + "\"";
  m_listFieldName = Must(m_pSSATask->LayerByName(mainLayer), layerWhat.c_str())->GetValue(kListFieldKey);
}

void TovSSAMapListFunction::Prepare() { m_geometry.reset(); }

std::string TovSSAMapListFunction::RegionsWhereClause(const std::string& fieldName, const Collection& names) {
  std::string clause;
  for (const Variant& name : names) clause += "(" + fieldName + "= '" + LiteralText(name.ToString()) + "') OR ";
  // Without names there is no clause to select with: an empty one would
  // take every region.
  if (clause.empty()) throw HostError(err::InvalidCall, kModulePath, "No region was chosen.");
  clause.resize(clause.size() - 4);
  return clause;
}

bool TovSSAMapListFunction::Step() {
  auto polygon = CreateAs<Polygon>(kPolygonProgId);
  auto shapes = CreateAs<GeometryEnumerator>(kGeometryEnumeratorProgId);
  auto filter = CreateAs<QueryFilter>(kQueryFilterProgId);
  PropertyListPtr settings =
      Must(Must(m_pSSATask, "the method's task descriptor")->GetPropertyList(), "the method's settings");
  const std::string idField = settings->GetValue(kIdFieldKey);
  const std::string shapesIdField = settings->GetValue(kShapesIdFieldKey);
  const std::string shapesLayer = settings->GetValue(kShapesLayerKey);
  TovExtensionPtr extension = Must(GetTovExtension(m_pApplication), "the analysis extension");
  DataAccessServicePtr dataAccess = Must(extension->GetDataAccessService(), "the data access service");
  const std::string dataSetName = Must(m_pDataSet, "the data set")->Name();
  const std::string mainWhat = "the main layer \"" + settings->GetValue(kMainLayerKey) + "\" of the data set";
  FeatureClassPtr mainClass =
      dataAccess->OpenFeatureClass(Must(m_mainLayer, mainWhat.c_str())->SourceName(), dataSetName);

  if (m_regionsSelectedByNames) {
    filter->SetWhereClause(RegionsWhereClause(m_listFieldName, *m_regionsSelectedByNames));
    auto scratch = CreateAs<ScratchWorkspaceFactory>(kScratchWorkspaceFactoryProgId)->DefaultScratchWorkspace();
    m_selectionSet =
        Must(mainClass, mainWhat.c_str())->Select(filter, selectionTypeIDSet, selectionOptionNormal, scratch);
  }
  if (!m_selectionSet) return false;

  FeatureCursorPtr cursor = m_selectionSet->Search(CreateAs<QueryFilter>(kQueryFilterProgId), false);
  const long idIndex = cursor->FindField(idField);
  std::string featuresList;
  std::string shapesClause;
  while (FeaturePtr feature = cursor->NextFeature()) {
    // Identifiers go in as they are.
    const std::string id = feature->Value(idIndex).ToString();
    featuresList += "'" + id + "',";
    shapesClause += " " + shapesIdField + "='" + id + "' OR";
  }
  if (featuresList.empty())
    throw HostError(err::InvalidCall, kModulePath, "None of the chosen regions was found in the main layer.");
  featuresList.pop_back();
  shapesClause.resize(shapesClause.size() - 2);

  if (!shapesIdField.empty()) {
    filter->SetSubFields("Shape," + shapesIdField);
    filter->SetWhereClause(shapesClause);
    FeatureClassPtr shapesClass = dataAccess->OpenFeatureClass(shapesLayer, dataSetName);
    if (!shapesClass) {
      m_lastError = kErrorNoMainLayer;
      return false;
    }
    shapes->BindGeometrySource(filter, shapesClass);
  } else {
    shapes->BindGeometrySource(CreateAs<QueryFilter>(kQueryFilterProgId), m_selectionSet);
  }
  polygon->ConstructUnion(shapes);
  polygon->Simplify();
  m_geometry = polygon;
  Store(m_geometry, featuresList);
  return false;
}

} // namespace tov
