#pragma once
// Analyses opened on a data root of their own: the data set "Mini" (the
// fixture's description) with a GeoPackage made here, two NAD83 regions side
// by side (-100..-98 x 40..41, CODE "R1" and "R2") and an empty "zones".
#include "TestWorld.h"

#include "host/common/Paths.h"

#include <fstream>

namespace tov::test {

// A class of polygons in `sr`, with a text field CODE when asked.
inline FeatureClassPtr MakePolygonClass(const WorkspacePtr& ws, const std::string& name, const SpatialReferencePtr& sr,
                                        bool withCode) {
  auto fields = CreateAs<Fields>("orvaCore.Fields");
  fields->AddField(ShapeField(geometryPolygon, sr));
  if (withCode) fields->AddField(TextField("CODE", 10));
  return ws->CreateFeatureClass(name, fields, "", "", 1, "Shape", "");
}

// A square outer ring as the host keeps it.
inline PolygonPtr KeptSquare(double x, double y, double size, const SpatialReferencePtr& sr) {
  PolygonPtr polygon = Square(x, y, size, sr);
  polygon->Simplify();
  return polygon;
}

class MiniAnalysisTest : public ::testing::Test {
protected:
  void SetUp() override {
    fs::create_directories(dataRoot);
    fs::copy_file(std::string(TOVANA_SOURCE_ROOT) + "/tests/fixtures/datasets/mini/dataset.json",
                  dataRoot + "/dataset.json");
    auto factory = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
    WorkspacePtr ws = factory->OpenFromFile(factory->Create(ToPlatformPath(dataRoot), "mini", nullptr));
    FeatureClassPtr regions = MakePolygonClass(ws, "regions", sr, true);
    for (int n : {1, 2}) {
      FeaturePtr f = regions->CreateFeature();
      f->SetShape(KeptSquare(-101.0 + n, 40.0, 1.0, sr));
      f->SetValue(regions->FindField("CODE"), Variant("R" + std::to_string(n)));
      f->Store();
    }
    MakePolygonClass(ws, "zones", sr, false);
  }

  // The analysis in the folder `name`, on the data set asked for (else the only one).
  AnalysisPtr Open(const std::string& name = "analysis", const std::string& dataset = "") {
    return OpenAnalysis(tmp / name, dataset, tmp / "data");
  }

  tov::testing::TempFolder tmp;
  std::string dataRoot = tmp / "data/mini";
  std::string folder = tmp / "analysis";
  SpatialReferencePtr sr = Geographic(4269);
};

} // namespace tov::test
