#pragma once
// The shape a study area was stored with, as the program's `show --json`
// names its data folder. It reads GDAL, so it lives with the host's tests.
#include "Program.h"

#include <gdal_priv.h>
#include <nlohmann/json.hpp>
#include <ogrsf_frmts.h>

namespace tov::test {

// The polygon of StudyArea.shp in the folder a `show NAME --json` run named,
// in the system it is stored in; null when the run failed or there is none.
inline std::unique_ptr<OGRGeometry> StoredShapeOf(const ProgramRun& show) {
  if (show.exitCode != 0) return nullptr;
  GDALAllRegister();
  const std::string folder = nlohmann::json::parse(show.output.substr(show.output.find('{'))).at("data");
  GDALDatasetUniquePtr ds(GDALDataset::Open((folder + "/StudyArea.shp").c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  OGRFeatureUniquePtr feature(ds ? ds->GetLayer(0)->GetNextFeature() : nullptr);
  if (!feature) return nullptr;
  std::unique_ptr<OGRGeometry> shape(feature->StealGeometry());
  shape->assignSpatialReference(ds->GetLayer(0)->GetSpatialRef());
  return shape;
}

} // namespace tov::test
