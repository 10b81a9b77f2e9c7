// Shapefiles that share a .prj text share the system matched for it; one of
// another text gets its own, and each class holds a copy of its own.
#include "GisTestSupport.h"

#include "platform/gis/Workspace.h"
#include "platform/gis/WorkspaceFactory.h"
#include "platform/runtime/ProgIds.h"

namespace tov::test {
namespace {

class ShapefileSystemTest : public GisTest {};

long CodeOf(const FeatureClassPtr& fc) {
  SpatialReferencePtr sr = fc->Fields()->Field(fc->FindField(fc->ShapeFieldName()))->GeometryDef()->SpatialReference();
  return sr ? sr->FactoryCode() : -1;
}

TEST_F(ShapefileSystemTest, ClassesOfOneSystemShareItsMatchAndOthersKeepTheirOwn) {
  WorkspacePtr ws = CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory")->OpenFromFile(Platform());
  const std::pair<const char*, SpatialReferencePtr> classes[] = {
      {"First", Geographic(4269)}, {"Albers", Projected(5070)}, {"Second", Geographic(4269)}, {"Wgs", Geographic(4326)}};
  for (const auto& [name, sr] : classes)
    ws->CreateFeatureClass(name, PolygonFields(sr, false), kFeatureClassClsid, "", featureTypeSimple, "Shape", "");

  // Opened again from their files, twice, in another order.
  WorkspacePtr again = CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory")->OpenFromFile(Platform());
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(CodeOf(again->OpenFeatureClass("Wgs")), 4326);
    EXPECT_EQ(CodeOf(again->OpenFeatureClass("Second")), 4269);
    EXPECT_EQ(CodeOf(again->OpenFeatureClass("Albers")), 5070);
    EXPECT_EQ(CodeOf(again->OpenFeatureClass("First")), 4269);
  }
}

} // namespace
} // namespace tov::test
