#include "GisTestSupport.h"

#include "host/gis/GisApplication.h"
#include "host/gis/HostFileSystemObject.h"

namespace tov::test {
namespace {

using RegistrationTest = GisTest;

// Whether the object has the interface T.
template <class T>
bool Is(const ObjectPtr& object) {
  return std::dynamic_pointer_cast<T>(object) != nullptr;
}

TEST_F(RegistrationTest, EveryProgIdMakesAnObjectWithItsInterface) {
  const std::pair<const char*, bool (*)(const ObjectPtr&)> classes[] = {
      {"Point", Is<Point>}, {"Envelope", Is<Envelope>}, {"Polyline", Is<Polyline>}, {"Polygon", Is<Polygon>},
      {"GeometryEnumerator", Is<GeometryEnumerator>}, {"SpatialReferenceEnvironment", Is<SpatialReferenceFactory>},
      {"QueryFilter", Is<QueryFilter>}, {"SpatialFilter", Is<SpatialFilter>}, {"Field", Is<Field>},
      {"Fields", Is<Fields>}, {"GeometryDef", Is<GeometryDef>}, {"Index", Is<Index>},
      {"ShapefileWorkspaceFactory", Is<WorkspaceFactory>}, {"AccessWorkspaceFactory", Is<WorkspaceFactory>},
      {"ScratchWorkspaceFactory", Is<ScratchWorkspaceFactory>}, {"FeatureLayer", Is<FeatureLayer>},
      {"GroupLayer", Is<GroupLayer>}, {"LayerFile", Is<LayerFile>}, {"SimpleRenderer", Is<SimpleRenderer>},
      {"SimpleFillSymbol", Is<FillSymbol>}, {"SimpleLineSymbol", Is<LineSymbol>},
      {"SimpleMarkerSymbol", Is<MarkerSymbol>}, {"TextSymbol", Is<TextSymbol>}, {"RgbColor", Is<RgbColor>},
      {"SelectionEnvironment", Is<SelectionEnvironment>}, {"GraphicElement", Is<GraphicElement>},
      {"Map", Is<Map>}, {"Map", Is<ActiveView>}};
  for (const auto& [name, hasInterface] : classes)
    EXPECT_TRUE(hasInterface(CreateObject(std::string("orvaCore.") + name))) << name;
  EXPECT_TRUE(Is<FileSystemObject>(CreateObject("Scripting.FileSystemObject")));
}

TEST_F(RegistrationTest, FileSystemObjectWorksOnPlatformPaths) {
  auto fso = CreateAs<FileSystemObject>("Scripting.FileSystemObject");
  std::ofstream(Native("a.lyr")) << "{}";
  EXPECT_TRUE(fso->FileExists(Platform("a.lyr")));
  EXPECT_FALSE(fso->FileExists(Platform()));  // a folder is not a file
  EXPECT_TRUE(fso->FolderExists(Platform()));
  EXPECT_FALSE(fso->FileExists(""));
  EXPECT_EQ(fso->GetAbsolutePathName(Platform() + "\\x\\..\\a.lyr"), Platform("a.lyr"));
  fso->DeleteFile(Platform("a.lyr"));
  EXPECT_FALSE(fso->FileExists(Platform("a.lyr")));
  EXPECT_EQ(ErrorOf([&] { fso->DeleteFile(Platform("a.lyr")); }).number, 53) << "deleting a missing file";
}

TEST_F(RegistrationTest, ScratchWorkspaceIsOneWritableGeoPackage) {
  auto factory = CreateAs<ScratchWorkspaceFactory>("orvaCore.ScratchWorkspaceFactory");
  WorkspacePtr ws = factory->DefaultScratchWorkspace();
  EXPECT_EQ(ws, CreateAs<ScratchWorkspaceFactory>("orvaCore.ScratchWorkspaceFactory")->DefaultScratchWorkspace());
  EXPECT_EQ(ws->WorkspaceFactory()->ClassID(), CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory")->ClassID());
}

TEST_F(RegistrationTest, ApplicationFindsExtensionsWithoutRegardToCase) {
  GisApplication app;
  EXPECT_EQ(app.hWnd(), 0);
  auto extension = CreateObject("orvaCore.RgbColor");
  app.AddExtension("TovKernel.TovExtension", extension);
  EXPECT_EQ(app.FindExtension("tovkernel.tovextension"), extension);
  EXPECT_FALSE(app.FindExtension("Other"));
  EXPECT_EQ(app.Document()->MapCount(), 1);
  EXPECT_EQ(app.Document()->FocusMap(), app.Document()->Map(0));
  EXPECT_TRUE(app.Document()->ActiveView());
}

TEST_F(RegistrationTest, DocumentKeepsMapsFocusAndReplacesItsFileWhole) {
  GisApplication app;
  auto second = CreateAs<Map>("orvaCore.Map");
  second->SetName("Inset");
  second->SetSpatialReference(Geographic(4326));
  std::dynamic_pointer_cast<ActiveView>(second)->SetExtent(Box(-10, -5, 10, 5));
  app.Document()->AddMap(second);
  app.Document()->SetFocusMap(second);
  const std::string doc = Platform("document.json");
  app.SaveDocument(doc);
  app.SaveDocument(doc); // replacing leaves no temporary file behind
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Native()), {}), 1);

  GisApplication loaded;
  loaded.LoadDocument(Native("document.json")); // a native path works too
  ASSERT_EQ(loaded.Document()->MapCount(), 2);
  MapPtr focus = loaded.Document()->FocusMap();
  EXPECT_EQ(focus->Name(), "Inset");
  EXPECT_EQ(focus->SpatialReference()->FactoryCode(), 4326);
  EXPECT_DOUBLE_EQ(loaded.Document()->ActiveView()->Extent()->Width(), 20);

  std::ofstream(Native("broken.json")) << "{\"maps\": [ {\"layers\": [ {\"type\": \"feature\", \"name\": 5} ] } ]}";
  const std::string why = ErrorOf([&] { loaded.LoadDocument(Platform("broken.json")); }).description;
  EXPECT_TRUE(Has(why, "broken.json")) << "a damaged document was loaded: " << why;
  EXPECT_EQ(loaded.Document()->MapCount(), 2);
  EXPECT_THROW(app.SaveDocument(Platform("no/such/folder/document.json")), HostError);
}

// Messages built from a path show the native path people know, whichever
// form the host was given.
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
