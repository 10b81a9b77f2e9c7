#include "host/tools/sampledata/CensusRegions.h"

#include <ogrsf_frmts.h>

#include <cstdlib>
#include <iostream>
#include <map>

namespace tov::sampledata {

namespace {

const std::map<std::string, std::string>& StatePostalCodes() {
  static const std::map<std::string, std::string> codes = {
      {"01", "AL"}, {"02", "AK"}, {"04", "AZ"}, {"05", "AR"}, {"06", "CA"}, {"08", "CO"},
      {"09", "CT"}, {"10", "DE"}, {"11", "DC"}, {"12", "FL"}, {"13", "GA"}, {"15", "HI"},
      {"16", "ID"}, {"17", "IL"}, {"18", "IN"}, {"19", "IA"}, {"20", "KS"}, {"21", "KY"},
      {"22", "LA"}, {"23", "ME"}, {"24", "MD"}, {"25", "MA"}, {"26", "MI"}, {"27", "MN"},
      {"28", "MS"}, {"29", "MO"}, {"30", "MT"}, {"31", "NE"}, {"32", "NV"}, {"33", "NH"},
      {"34", "NJ"}, {"35", "NM"}, {"36", "NY"}, {"37", "NC"}, {"38", "ND"}, {"39", "OH"},
      {"40", "OK"}, {"41", "OR"}, {"42", "PA"}, {"44", "RI"}, {"45", "SC"}, {"46", "SD"},
      {"47", "TN"}, {"48", "TX"}, {"49", "UT"}, {"50", "VT"}, {"51", "VA"}, {"53", "WA"},
      {"54", "WV"}, {"55", "WI"}, {"56", "WY"}, {"60", "AS"}, {"66", "GU"}, {"69", "MP"},
      {"72", "PR"}, {"78", "VI"}};
  return codes;
}

} // namespace

std::string PostalCode(const std::string& stateFips) {
  auto it = StatePostalCodes().find(stateFips);
  return it == StatePostalCodes().end() ? std::string() : it->second;
}

namespace {

std::string FieldText(OGRFeature& f, const char* name) {
  int i = f.GetFieldIndex(name);
  return i < 0 || !f.IsFieldSetAndNotNull(i) ? std::string() : std::string(f.GetFieldAsString(i));
}

} // namespace

std::vector<Region> ReadRegions(GDALDataset& topo, const char* object, int& repairedCount) {
  OGRLayer* layer = topo.GetLayerByName(object);
  if (!layer) throw BuildError(std::string("the topology has no object \"") + object + "\"");
  std::vector<Region> regions;
  repairedCount = 0;
  layer->ResetReading();
  for (auto& feature : *layer) {
    Region r;
    r.fips = FieldText(*feature, "id");
    r.name = FieldText(*feature, "name");
    OGRGeometry* geometry = feature->GetGeometryRef();
    if (!geometry || geometry->IsEmpty()) {
      std::cout << "  dropped " << object << " " << r.fips << " (" << r.name << "): no shape\n";
      continue;
    }
    bool repaired = false;
    Geom raw = FromOgr(geometry);
    r.shape = Repair(raw.get(), repaired);
    if (repaired) ++repairedCount;
    if (IsEmpty(r.shape.get())) {
      std::cout << "  dropped " << object << " " << r.fips << " (" << r.name
                << "): empty after repair\n";
      continue;
    }
    regions.push_back(std::move(r));
  }
  return regions;
}

void MakeCountyLabels(std::vector<Region>& counties) {
  std::map<std::string, int> uses;
  for (auto& c : counties) {
    c.label = c.name + ", " + c.state;
    ++uses[c.label];
  }
  for (auto& c : counties) {
    if (uses[c.name + ", " + c.state] < 2) continue;
    int code = c.fips.size() == 5 ? std::atoi(c.fips.c_str() + 2) : 0;
    if (code >= 500) c.label = c.name + " city, " + c.state;
  }
  std::map<std::string, int> again;
  for (auto& c : counties) ++again[c.label];
  for (auto& c : counties) {
    if (again[c.label] > 1) c.label = c.name + " (" + c.fips + "), " + c.state;
  }
}

} // namespace tov::sampledata
