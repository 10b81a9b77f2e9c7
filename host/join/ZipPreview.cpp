#include "host/join/ZipPreview.h"

#include "host/framework/MethodDescriptor.h"
#include "methods/zipcodes/TovSSASelZipCodesFunction.h"
#include "methods/zipcodes/ZipCodeRules.h"
#include "platform/framework/DataAccessService.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/QueryFilter.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <vector>

namespace tov {

namespace {

// The ZIP areas' feature class, opened as the ZIP code function opens it.
FeatureClassPtr OpenZipAreas(const Analysis& analysis, const HostDatasetPtr& dataset, const std::string& layerName) {
  DataSetLayerPtr layer = dataset->LayerByName(layerName);
  if (!layer) throw HostError(err::InvalidCall, "tovana", "The data set has no layer \"" + layerName + "\".");
  FeatureClassPtr areas =
      analysis.extension->GetDataAccessService()->OpenFeatureClass(layer->SourceName(), dataset->DataSetPath());
  if (!areas) throw HostError(err::InvalidCall, "tovana", "The layer \"" + layerName + "\" cannot be read.");
  return areas;
}

// How many areas one code or prefix takes: one query through the method's
// own where clause, so that its LIKE (case, "_", "%") decides here as it
// does when the study area is made.
long CountMatches(FeatureClass& areas, const std::string& field, const std::string& code) {
  Collection one;
  one.Add(Variant(code));
  auto filter = CreateAs<QueryFilter>(kQueryFilterProgId);
  filter->SetSubFields(field);
  filter->SetWhereClause(TovSSASelZipCodesFunction::ZipWhereClause(field, one));
  return areas.FeatureCount(filter);
}

} // namespace

bool PreviewZipCodes(const Analysis& analysis, const std::string& text, std::ostream& out, std::ostream& err) {
  const std::string datasetName = analysis.extension->CurrentDatasetName();
  HostDatasetPtr dataset = analysis.dataManager->DataSetByName(datasetName);
  TaskDescriptorPtr method = FindMethodDescriptor(dataset, kZipCodesMethod);
  if (!method) {
    err << "tovana: the data set \"" << datasetName << "\" offers no study areas made of ZIP codes\n";
    return false;
  }
  PropertyListPtr properties = method->GetPropertyList();
  ZipRuleValues rules = ReadZipRuleValues(*properties);
  std::string refusal;
  CollectionPtr codes =
      ZipCodesToCollection(text, rules.checkValidity, rules.numericZips, rules.valueLength, rules.prefixLeastLength,
                           [&refusal](const ZipRefusal& r) { refusal = ZipRefusalText(r); });
  if (!codes) {
    err << "tovana: " << (refusal.empty() ? "the list holds no ZIP code" : refusal) << "\n";
    return false;
  }
  FeatureClassPtr areas = OpenZipAreas(analysis, dataset, properties->GetValue("DSMainLayer"));
  const std::string field = properties->GetValue("DSMainLayerIDFieldName");
  std::vector<std::string> none;
  long total = 0;
  for (long i = 1; i <= codes->Count(); ++i) {
    const std::string code = codes->Item(i).ToString();
    const long n = CountMatches(*areas, field, code);
    total += n;
    if (n == 0) none.push_back(code);
    out << code << "\t" << n << " ZIP area" << (n == 1 ? "" : "s") << "\n";
  }
  out << total << " ZIP area" << (total == 1 ? "" : "s") << " in all (an area listed twice counts twice)\n";
  if (!none.empty()) {
    out << "Matching no ZIP area:";
    for (const std::string& code : none) out << " " << code;
    out << "\n";
  }
  return true;
}

} // namespace tov
