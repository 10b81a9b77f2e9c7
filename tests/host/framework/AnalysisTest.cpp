#include "MiniAnalysisTest.h"

namespace tov::test {
namespace {

class AnalysisTest : public MiniAnalysisTest {
protected:
  // Writes a one-polygon layer file at the record's path, as the store does.
  void WriteStudyAreaLayerFile(const StudyAreaRecordPtr& record, double x) {
    std::string folder = ToPlatformPath(fs::path(ToNativePath(record->FilePath())).parent_path().string());
    auto factory = CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory");
    FeatureClassPtr fc = MakePolygonClass(factory->OpenFromFile(folder), "StudyArea", sr, false);
    FeaturePtr f = fc->CreateFeature();
    f->SetShape(KeptSquare(x, 40.0, 0.5, sr));
    f->Store();
    auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
    layer->SetFeatureClass(fc);
    layer->SetName(record->Name());
    layer->SetDataSourceRelativeBase(folder);
    auto file = CreateAs<LayerFile>("orvaCore.LayerFile");
    file->SetFilename(record->FilePath());
    file->SetLayer(layer);
    file->Save();
  }
};

TEST_F(AnalysisTest, ANewAnalysisHasItsFilesDefaultsAndReferenceLayers) {
  AnalysisPtr analysis = Open();
  EXPECT_TRUE(analysis->created);
  for (const char* file : {"analysis.sqlite", "document.json", "log.txt"}) EXPECT_TRUE(fs::exists(folder + "/" + file)) << file;

  ObjectPtr found = analysis->application->FindExtension("TovKernel.TovExtension");
  EXPECT_EQ(found, std::static_pointer_cast<Object>(analysis->extension));
  TovExtensionPtr ext = analysis->extension;
  EXPECT_EQ(ext->CurrentDatasetName(), "Mini");
  EXPECT_EQ(ext->GetDataManager(), std::static_pointer_cast<DataManager>(analysis->dataManager));
  EXPECT_EQ(ext->ExtensionOptions()->GetProperty("Use Group Layer For Analysis"), "True");
  EXPECT_EQ(ext->ExtensionOptions()->GetProperty("ChangeGroupLayerName"), "True");
  EXPECT_EQ(ext->CurrentStudyAreaGeometry(), nullptr);

  // Only the reference layer, under its map name, drawn with the reference symbol keys.
  MapPtr map = analysis->application->Document()->FocusMap();
  ASSERT_EQ(map->LayerCount(), 1);
  auto layer = std::dynamic_pointer_cast<FeatureLayer>(map->Layer(0));
  ASSERT_TRUE(layer);
  EXPECT_EQ(layer->Name(), "Regions of Mini");
  auto fill = std::dynamic_pointer_cast<FillSymbol>(layer->Renderer()->Symbol());
  ASSERT_TRUE(fill);
  EXPECT_EQ(fill->Style(), 1); // hollow
  EXPECT_DOUBLE_EQ(fill->Outline()->Width(), 1.5);
  EXPECT_EQ(fill->Outline()->Color()->RGB(), 0xFF);
  // In the data set's analysis system, showing the whole layer.
  EXPECT_EQ(map->SpatialReference()->FactoryCode(), 5070);
  EnvelopePtr extent = analysis->application->Document()->ActiveView()->Extent();
  extent->Project(sr);
  EXPECT_LE(extent->XMin(), -100.0);
  EXPECT_GE(extent->XMax(), -98.0);
}

TEST_F(AnalysisTest, DataAccessOpensLayersByTableOrLayerNameAndSaysNoneOtherwise) {
  AnalysisPtr analysis = Open("analysis", "Mini");
  DataAccessServicePtr access = analysis->extension->GetDataAccessService();
  FeatureClassPtr regions = access->OpenFeatureClass("regions", "Mini");
  ASSERT_TRUE(regions);
  EXPECT_EQ(regions->FeatureCount(nullptr), 2);
  EXPECT_TRUE(access->OpenFeatureClass("Regions", "")); // data set layer name, current data set
  EXPECT_EQ(access->OpenFeatureClass("nothing", "Mini"), nullptr);
  EXPECT_EQ(access->OpenFeatureClass("regions", "Elsewhere"), nullptr);

  FeatureCursorPtr cursor = access->SearchLayer("regions", true, "Shape, CODE", "CODE = 'R2'", "Mini");
  ASSERT_TRUE(cursor);
  long code = cursor->FindField("CODE");
  ASSERT_GE(code, 0);
  FeaturePtr f = cursor->NextFeature();
  ASSERT_TRUE(f);
  EXPECT_EQ(f->Value(code).ToString(), "R2");
  EXPECT_EQ(cursor->NextFeature(), nullptr);
  EXPECT_EQ(access->SearchLayer("nothing", true, "", "", "Mini"), nullptr);
}

TEST_F(AnalysisTest, CurrentStudyAreaGeometryIsReadThroughTheLayerFile) {
  AnalysisPtr analysis = Open();
  StudyAreaCatalogPtr catalog = analysis->dataManager->GetStudyAreaCatalog();
  ASSERT_TRUE(catalog->Add("West"));
  ASSERT_TRUE(catalog->Add("East"));
  WriteStudyAreaLayerFile(catalog->Item("West"), -100.0);
  WriteStudyAreaLayerFile(catalog->Item("East"), -90.0);

  TextPropertySetPtr props = analysis->extension->ExtensionProperties();
  props->SetProperty("CurrentExtent", "East");
  GeometryPtr geometry = analysis->extension->CurrentStudyAreaGeometry();
  ASSERT_TRUE(geometry);
  EXPECT_EQ(geometry->GeometryType(), geometryPolygon);
  EXPECT_NEAR(geometry->Envelope()->XMin(), -90.0, 1e-9);

  props->SetProperty("CurrentExtent", ":CurrentExtent"); // no such study area
  EXPECT_EQ(analysis->extension->CurrentStudyAreaGeometry(), nullptr);
  props->SetProperty("CurrentExtent", "West");
  fs::remove(ToNativePath(catalog->Item("West")->FilePath()));
  EXPECT_EQ(analysis->extension->CurrentStudyAreaGeometry(), nullptr);
}

TEST_F(AnalysisTest, ReopeningKeepsTheDataSetSettingsCatalogueAndMap) {
  {
    AnalysisPtr first = Open();
    first->extension->ExtensionProperties()->SetProperty("Study Area Name", "North");
    ASSERT_TRUE(first->dataManager->GetStudyAreaCatalog()->Add("North"));
    first->application->Document()->FocusMap()->SetName("Renamed map");
    SaveAnalysis(*first);
  }
  AnalysisPtr again = Open();
  EXPECT_FALSE(again->created);
  EXPECT_EQ(again->extension->CurrentDatasetName(), "Mini");
  EXPECT_EQ(again->extension->ExtensionProperties()->GetProperty("Study Area Name"), "North");
  EXPECT_TRUE(again->dataManager->GetStudyAreaCatalog()->Exists("North"));
  EXPECT_EQ(again->application->Document()->FocusMap()->Name(), "Renamed map");
  EXPECT_EQ(again->application->Document()->FocusMap()->LayerCount(), 1);
}

TEST_F(AnalysisTest, ADocumentThatIsNotUnderstoodKeepsTheAnalysisClosedAndTheFileAsItIs) {
  Open();
  const std::string document = folder + "/document.json";
  std::string text = ReadTextFile(document);
  const std::string layersKey = "\"layers\": [";
  const size_t at = text.find(layersKey);
  ASSERT_NE(at, std::string::npos) << text;
  // "layers" as an object: every layer of the map would be lost if read as none.
  text.replace(at, layersKey.size(), "\"layers\": {\"oops\": 1}, \"was\": [");
  WriteTextFile(document, text);
  const std::string why = ErrorOf([&] { Open(); }).description;
  EXPECT_TRUE(Has(why, document) && Has(why, "layers")) << "the analysis opened: " << why;
  EXPECT_EQ(ReadTextFile(document), text);
}

TEST_F(AnalysisTest, AnUnknownDataSetIsRefusedNamingTheInstalledOnes) {
  const std::string why = ErrorOf([&] { Open("analysis", "Atlantis"); }).description;
  EXPECT_TRUE(Has(why, "Atlantis") && Has(why, "Mini")) << why;
}

TEST_F(AnalysisTest, TheDataManagerListsDataSetsAndTheMedia) {
  AnalysisPtr analysis = Open();
  DataManagerPtr dm = analysis->dataManager;
  ASSERT_EQ(dm->DataSetCount(), 1);
  EXPECT_EQ(dm->DataSetName(0), "Mini");
  EXPECT_EQ(dm->DataSetByName("Mini"), dm->DataSet(0));
  EXPECT_THROW(dm->DataSet(1), HostError);
  std::string clock = dm->MediaPath("Clock AVI");
  EXPECT_NE(clock.find("\\clock.gif"), std::string::npos);
  EXPECT_TRUE(fs::exists(ToNativePath(clock)));
  EXPECT_EQ(dm->MediaPath("Unknown"), "");
}

TEST_F(AnalysisTest, RegisteredClassesAreCreatedByProgIdAndReportIntoTheAnalysisLog) {
  AnalysisPtr analysis = Open();
  EXPECT_EQ(CreateObject("TovKernel.TovExtension"), std::static_pointer_cast<Object>(analysis->extension));
  EXPECT_TRUE(CreateAs<FileInfo>("TovDM.TovFileInfo"));
  EXPECT_TRUE(CreateAs<NameChecker>("TovKernel.NameChecker"));
  EXPECT_TRUE(CreateAs<ProgressRunner>("TovKernel.ProgressRunner"));
  EXPECT_TRUE(CreateAs<TaskPropertySet>("TovKernel.TaskPropertySet"));
  EXPECT_EQ(CreateAs<ResourceFinder>("TovSetupStudyAreaRes.clsFindResource")->FindString("187"), "Study Area Name");
  EXPECT_FALSE(CreateAs<ResourceFinder>("TovSetupStudyAreaGuiRes.clsFindResource")->FindString("1000").empty());

  auto handler = CreateAs<ErrorHandler>("TovKernel.TovErrorHandler");
  handler->ReportError("Proc Module", 5, "Test", "logged here");
  EXPECT_TRUE(Has(ReadTextFile(folder + "/log.txt"), "logged here"));
}

} // namespace
} // namespace tov::test
