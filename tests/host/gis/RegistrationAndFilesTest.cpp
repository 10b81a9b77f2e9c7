#include "GisTestSupport.h"

#include "host/gis/GisApplication.h"

namespace tov::test {
namespace {

using RegistrationTest = GisTest;

template <class T>
void ExpectCreatable(const char* progId) {
  EXPECT_TRUE(std::dynamic_pointer_cast<T>(CreateObject(progId))) << progId;
}

TEST_F(RegistrationTest, EveryProgIdMakesAnObjectWithItsInterface) {
  ExpectCreatable<Point>("orvaCore.Point");
  ExpectCreatable<Envelope>("orvaCore.Envelope");
  ExpectCreatable<Polyline>("orvaCore.Polyline");
  ExpectCreatable<Polygon>("orvaCore.Polygon");
  ExpectCreatable<GeometryEnumerator>("orvaCore.GeometryEnumerator");
  ExpectCreatable<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment");
  ExpectCreatable<QueryFilter>("orvaCore.QueryFilter");
  ExpectCreatable<SpatialFilter>("orvaCore.SpatialFilter");
  ExpectCreatable<Field>("orvaCore.Field");
  ExpectCreatable<Fields>("orvaCore.Fields");
  ExpectCreatable<GeometryDef>("orvaCore.GeometryDef");
  ExpectCreatable<Index>("orvaCore.Index");
  ExpectCreatable<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory");
  ExpectCreatable<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
  ExpectCreatable<ScratchWorkspaceFactory>("orvaCore.ScratchWorkspaceFactory");
  ExpectCreatable<FeatureLayer>("orvaCore.FeatureLayer");
  ExpectCreatable<GroupLayer>("orvaCore.GroupLayer");
  ExpectCreatable<LayerFile>("orvaCore.LayerFile");
  ExpectCreatable<SimpleRenderer>("orvaCore.SimpleRenderer");
  ExpectCreatable<FillSymbol>("orvaCore.SimpleFillSymbol");
  ExpectCreatable<LineSymbol>("orvaCore.SimpleLineSymbol");
  ExpectCreatable<MarkerSymbol>("orvaCore.SimpleMarkerSymbol");
  ExpectCreatable<TextSymbol>("orvaCore.TextSymbol");
  ExpectCreatable<RgbColor>("orvaCore.RgbColor");
  ExpectCreatable<SelectionEnvironment>("orvaCore.SelectionEnvironment");
  ExpectCreatable<GraphicElement>("orvaCore.GraphicElement");
  ExpectCreatable<Map>("orvaCore.Map");
  ExpectCreatable<ActiveView>("orvaCore.Map");
  ExpectCreatable<FileSystemObject>("Scripting.FileSystemObject");
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
  app.SetHWnd(0x1234567890LL);
  EXPECT_EQ(app.hWnd(), 0x1234567890LL);
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
  size_t files = 0;
  for (auto& entry : std::filesystem::directory_iterator(m_dir)) files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 1u);

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

} // namespace
} // namespace tov::test
