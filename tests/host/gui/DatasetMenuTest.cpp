// Analysis > Data Set and New Data Set from File...: the installed data sets
// listed with the current one checked, switching to another (its layers
// replace the old one's on the map), and the dialog over `datasets create`.
#include "QtApp.h"

#include "host/datasets/DatasetCreate.h"
#include "host/gui/DatasetMenu.h"
#include "host/gui/NewDatasetDialog.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>

namespace tov::test {
namespace {

// A GeoPackage of two layers near New York: three boroughs and their outline.
void WriteSource(const std::string& file) {
  GDALAllRegister();
  std::unique_ptr<GDALDataset> ds(GetGDALDriverManager()->GetDriverByName("GPKG")->Create(file.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  OGRSpatialReference sr;
  sr.importFromEPSG(4326);
  sr.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  auto layer = [&](const char* name, const std::vector<std::pair<std::string, std::string>>& features) {
    OGRLayer* l = ds->CreateLayer(name, &sr, wkbPolygon, nullptr);
    OGRFieldDefn field("NAME", OFTString);
    l->CreateField(&field);
    for (const auto& [text, wkt] : features) {
      OGRFeature f(l->GetLayerDefn());
      f.SetField(0, text.c_str());
      OGRGeometry* g = nullptr;
      OGRGeometryFactory::createFromWkt(wkt.c_str(), &sr, &g);
      f.SetGeometryDirectly(g);
      ASSERT_EQ(l->CreateFeature(&f), OGRERR_NONE);
    }
  };
  layer("boroughs", {{"North", "POLYGON((-74.2 40.7,-74.2 40.9,-73.9 40.9,-73.9 40.7,-74.2 40.7))"},
                     {"South", "POLYGON((-74.2 40.5,-74.2 40.7,-73.9 40.7,-73.9 40.5,-74.2 40.5))"},
                     {"East", "POLYGON((-73.9 40.5,-73.9 40.9,-73.7 40.9,-73.7 40.5,-73.9 40.5))"}});
  layer("city", {{"City", "POLYGON((-74.2 40.5,-74.2 40.9,-73.7 40.9,-73.7 40.5,-74.2 40.5))"}});
}

class DatasetMenuTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    RegisterHostGuiClasses(false);
    WriteSource(source);
    DatasetCreateOptions o;
    o.name = "Boroughs";
    o.source = source;
    o.regions = {"boroughs", "NAME"};
    o.dataRoot = world.DataRoot();
    world.Publish();
    CreateDataset(o);
    analysis = world.Open();
    window = std::make_unique<MainWindow>(analysis);
    window->resize(800, 600);
  }

  std::vector<std::pair<std::string, bool>> Listed() {
    std::vector<std::pair<std::string, bool>> listed;
    window->Datasets()->Rebuild();
    for (QAction* a : window->Datasets()->Submenu()->actions()) listed.emplace_back(a->text().toStdString(), a->isChecked());
    return listed;
  }

  std::vector<std::string> MapLayers() {
    std::vector<std::string> names;
    MapPtr map = window->Canvas()->Control()->Map();
    for (long i = 0; i < map->LayerCount(); ++i) names.push_back(map->Layer(i)->Name());
    return names;
  }

  TestWorld world;
  std::string source = world.Root() + "/boroughs.gpkg";
  AnalysisPtr analysis;
  std::unique_ptr<MainWindow> window;
};

TEST_F(DatasetMenuTest, ChoosingADataSetSwitchesTheAnalysisAndItsMapLayers) {
  EXPECT_EQ(Listed(), (std::vector<std::pair<std::string, bool>>{{"Boroughs", false}, {"Test", true}}));
  const std::vector<std::string> before = MapLayers();
  ASSERT_FALSE(before.empty());
  window->Datasets()->Submenu()->actions().at(0)->trigger();
  EXPECT_EQ(analysis->extension->CurrentDatasetName(), "Boroughs");
  EXPECT_EQ(Listed(), (std::vector<std::pair<std::string, bool>>{{"Boroughs", true}, {"Test", false}}));
  EXPECT_EQ(MapLayers(), (std::vector<std::string>{"Boroughs"}));
  // And back: the test data set's layers return, the boroughs go.
  EXPECT_TRUE(window->Datasets()->Switch("Test"));
  EXPECT_EQ(MapLayers(), before);
  // The next session finds the analysis as it was left.
  window.reset();
  analysis.reset();
  EXPECT_EQ(world.Open()->extension->CurrentDatasetName(), "Test");
}

TEST_F(DatasetMenuTest, TheNewDataSetDialogShowsWhatItInfersAndCreates) {
  NewDatasetDialog dialog(world.DataRoot(), window.get());
  // Shown, so that the focus moves as the lists fill, as it does for a user.
  dialog.show();
  dialog.SetSource(QString::fromStdString(source));
  QCoreApplication::processEvents();
  EXPECT_EQ(dialog.NameEdit()->text(), "boroughs");
  ASSERT_EQ(dialog.RegionsBox()->count(), 2);
  EXPECT_NE(dialog.InferredLabel()->text().indexOf("Albers"), -1) << dialog.InferredLabel()->text().toStdString();
  EXPECT_NE(dialog.InferredLabel()->text().indexOf("no study areas of codes"), -1);
  dialog.CodesBox()->setCurrentText("boroughs");
  EXPECT_NE(dialog.InferredLabel()->text().indexOf("Code rules: letters and digits, 5 characters, not checked"), -1)
      << dialog.InferredLabel()->text().toStdString();
  dialog.CodesBox()->setCurrentIndex(0);
  ASSERT_EQ(dialog.ContextList()->count(), 1);
  dialog.ContextList()->item(0)->setCheckState(Qt::Checked);
  dialog.NameEdit()->setText("Five Boroughs");
  const DatasetCreateOptions o = dialog.Options();
  EXPECT_EQ(o.regions.layer, "boroughs");
  EXPECT_EQ(o.context, std::vector<std::string>{"city"});
  ASSERT_TRUE(dialog.Create());
  EXPECT_EQ(dialog.Report().layers.size(), 2u);
  EXPECT_TRUE(std::filesystem::exists(world.DataRoot() + "/Five Boroughs/dataset.json"));
}

} // namespace
} // namespace tov::test
