// Messages built from a path show the native path people know, whichever
// form the host was given.
#include "GisTestSupport.h"

#include "host/gis/GisApplication.h"
#include "host/gis/HostFileSystemObject.h"

namespace tov::test {
namespace {

using ShownPathsTest = GisTest;

void ExpectNativePathIn(const std::function<void()>& call, const std::string& nativePath) {
  const std::string why = ErrorOf(call).description;
  EXPECT_TRUE(Has(why, nativePath) && !Has(why, "\\")) << nativePath << ": " << why;
}

TEST_F(ShownPathsTest, ErrorsAboutFilesAndFoldersShowNativePaths) {
  auto gpkg = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
  auto shp = CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory");
  gpkg->Create(Platform(), "Area", nullptr);
  ExpectNativePathIn([&] { gpkg->Create(Platform(), "Area", nullptr); }, Native("Area.gpkg"));
  ExpectNativePathIn([&] { gpkg->Create(Platform("none"), "Area", nullptr); }, Native("none"));
  ExpectNativePathIn([&] { shp->OpenFromFile(Platform("none")); }, Native("none"));
  ExpectNativePathIn([&] { gpkg->OpenFromFile(Platform("Area.gpkg"))->OpenFeatureClass("Missing"); }, Native("Area.gpkg"));

  HostFileSystemObject files;
  ExpectNativePathIn([&] { files.DeleteFile(Platform("gone.txt")); }, Native("gone.txt"));

  std::ofstream(Native("odd.lyr")) << "{\"version\": 1}";
  ExpectNativePathIn([&] { CreateAs<LayerFile>("orvaCore.LayerFile")->Open(Platform("odd.lyr")); }, Native("odd.lyr"));
  ExpectNativePathIn([&] { GisApplication().LoadDocument(Platform("odd.lyr")); }, Native("odd.lyr"));
  ExpectNativePathIn([&] { GisApplication().SaveDocument(Platform("none/document.json")); }, Native("none"));
}

} // namespace
} // namespace tov::test
