#include "host/app/ZipPreview.h"

#include "methods/zipcodes/ZipCodeRules.h"
#include "platform/framework/DataAccessService.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/Fields.h"

#include <algorithm>
#include <vector>

namespace tov {

namespace {

constexpr char kZipMethod[] = "SetupStudyArea.WildCard";

// Every ZIP code of the layer, sorted: a prefix is then a range.
std::vector<std::string> ReadZipCodes(const Analysis& analysis, const HostDatasetPtr& dataset,
                                      const std::string& layerName, const std::string& field) {
  DataSetLayerPtr layer = dataset->LayerByName(layerName);
  if (!layer) throw HostError(err::InvalidCall, "tovana", "The data set has no layer \"" + layerName + "\".");
  FeatureCursorPtr cursor = analysis.extension->GetDataAccessService()->SearchLayer(layer->SourceName(), true, field,
                                                                                    "", dataset->DataSetPath());
  if (!cursor) throw HostError(err::InvalidCall, "tovana", "The layer \"" + layerName + "\" cannot be read.");
  std::vector<std::string> codes;
  long index = -1;
  while (FeaturePtr feature = cursor->NextFeature()) {
    if (index < 0) index = feature->Fields()->FindField(field);
    if (index < 0) throw HostError(err::InvalidCall, "tovana", "The layer \"" + layerName + "\" has no field " + field + ".");
    codes.push_back(feature->Value(index).ToString());
  }
  std::sort(codes.begin(), codes.end());
  return codes;
}

// How many codes a code or a prefix ending in the wildcard takes.
long CountMatches(const std::vector<std::string>& codes, const std::string& code) {
  if (!code.empty() && code.back() == '%') {
    const std::string prefix = code.substr(0, code.size() - 1);
    auto first = std::lower_bound(codes.begin(), codes.end(), prefix);
    auto last = first;
    while (last != codes.end() && last->compare(0, prefix.size(), prefix) == 0) ++last;
    return static_cast<long>(last - first);
  }
  auto range = std::equal_range(codes.begin(), codes.end(), code);
  return static_cast<long>(range.second - range.first);
}

} // namespace

bool PreviewZipCodes(const Analysis& analysis, const std::string& text, std::ostream& out, std::ostream& err) {
  const std::string datasetName = analysis.extension->CurrentDatasetName();
  HostDatasetPtr dataset = analysis.dataManager->DataSetByName(datasetName);
  TaskDescriptorPtr setup = dataset ? dataset->TaskByName("SetupStudyArea") : nullptr;
  TaskDescriptorPtr method = setup ? setup->ChildByName(kZipMethod) : nullptr;
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
  const std::vector<std::string> all =
      ReadZipCodes(analysis, dataset, properties->GetValue("DSMainLayer"), properties->GetValue("DSMainLayerIDFieldName"));
  std::vector<std::string> none;
  long total = 0;
  for (long i = 1; i <= codes->Count(); ++i) {
    const std::string code = codes->Item(i).ToString();
    const long n = CountMatches(all, code);
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
