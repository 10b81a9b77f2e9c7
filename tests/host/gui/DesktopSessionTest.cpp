// The window as a desktop program: File > New Analysis..., Open Analysis...
// and Recent Analyses switch the analysis the window shows, keeping its size;
// the analyses and the layout are remembered for the next start.
//
// Long work in the window: the progress dialog comes up with a Cancel
// button, the window's events go on meanwhile, and Cancel stops a function
// between two steps (never inside one) and the work that asks for it.
//
// Analysis > Data Set and New Data Set from File...: the installed data sets
// listed with the current one checked, switching to another (its layers
// replace the old one's on the map), and the dialog over `datasets create`.
#include "QtApp.h"
#include "Recorders.h"

#include "host/common/WorkCancel.h"
#include "host/datasets/DatasetCreate.h"
#include "host/gui/DatasetMenu.h"
#include "host/gui/DesktopSession.h"
#include "host/gui/NewDatasetDialog.h"
#include "host/gui/QtProgressRunner.h"
#include "host/gui/WindowSettings.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>

#include <chrono>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace tov::test {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

class DesktopSessionTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    RegisterHostMapControl();
    // Settings of the test's own, whatever ran before in this process.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Q(world.Root() + "/config"));
  }

  // A session opening analyses on the test data set, or by `open`; its warnings are kept.
  std::unique_ptr<DesktopSession> Session(DesktopSession::Opener open = nullptr) {
    if (!open) open = [this](const std::string& folder) { return OpenAnalysis(folder, "Test", world.DataRoot()); };
    auto session = std::make_unique<DesktopSession>(open, nullptr);
    session->SetWarning([this](QWidget*, const QString& text) { warnings << text; });
    session->SetFolderQuestion([this](QWidget*, bool) { return answer; });
    return session;
  }
  // The File menu's entry of the window, by object name.
  QAction* Action(DesktopSession& session, const char* name) {
    return session.Window()->findChild<QAction*>(name);
  }
  QList<QAction*> RecentEntries(DesktopSession& session) {
    auto* menu = session.Window()->findChild<QMenu*>("RecentAnalysesMenu");
    emit menu->aboutToShow();
    return menu->actions();
  }

  TestWorld world;
  QStringList warnings;
  QString answer; // the folder the file dialog "chooses"
};

TEST_F(DesktopSessionTest, NewOpenAndRecentSwitchTheAnalysisInAWindowOfTheSameSize) {
  const QString first = Q(world.AnalysisFolder()), second = Q(world.Root() + "/second");
  auto session = Session();
  ASSERT_TRUE(session->Open(first));
  QPointer<MainWindow> window = session->Window();
  ASSERT_TRUE(window);
  EXPECT_EQ(window->menuBar()->actions().front()->text(), "&File");
  EXPECT_TRUE(window->windowTitle().contains(first)) << window->windowTitle().toStdString();
  window->resize(640, 480);

  answer = second;
  Action(*session, "NewAnalysisAction")->trigger();
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(warnings.isEmpty()) << warnings.join("\n").toStdString();
  ASSERT_TRUE(session->Window());
  EXPECT_TRUE(session->Window()->windowTitle().contains(second));
  EXPECT_TRUE(fs::exists(world.Root() + "/second/document.json")) << "the new analysis is made";
  EXPECT_EQ(session->Window()->size(), QSize(640, 480));
  EXPECT_FALSE(window) << "the window before is closed and gone";
  EXPECT_EQ(WindowSettings::RecentAnalyses(), QStringList({second, first}));

  // The recent list: the shown one greyed, the other one opens.
  QList<QAction*> entries = RecentEntries(*session);
  ASSERT_EQ(entries.size(), 2);
  EXPECT_FALSE(entries[0]->isEnabled());
  entries[1]->trigger();
  EXPECT_EQ(session->Folder(), first);
  EXPECT_EQ(WindowSettings::LastAnalysis(), first);
}

TEST_F(DesktopSessionTest, FoldersThatDoNotFitAreRefusedTheWindowStaysAndTheNextStartTakesTheLastOne) {
  const QString first = Q(world.AnalysisFolder());
  auto session = Session();
  ASSERT_TRUE(session->Open(first));
  MainWindow* window = session->Window();

  fs::create_directories(world.Root() + "/plain");
  std::ofstream(world.Root() + "/plain/notes.txt") << "mine";
  answer = Q(world.Root() + "/plain");
  EXPECT_FALSE(session->AskOpen());
  EXPECT_FALSE(session->AskNew());
  answer = first;
  EXPECT_FALSE(session->AskNew()) << "a new analysis over an existing one";
  answer.clear();
  EXPECT_FALSE(session->AskOpen()) << "the dialog cancelled";
  ASSERT_EQ(warnings.size(), 3);
  for (int i : {0, 1, 2})
    EXPECT_TRUE(warnings[i].contains(QStringList{"holds no analysis", "is not empty", "holds an analysis already"}[i]))
        << warnings[i].toStdString();
  EXPECT_EQ(session->Window(), window);
  EXPECT_FALSE(fs::exists(world.Root() + "/plain/document.json"));

  // One that cannot be opened: the reason, and the window as it was.
  auto failing = Session([](const std::string&) -> AnalysisPtr {
    throw HostError(err::FileNotFound, "Test", "no data set here");
  });
  EXPECT_FALSE(failing->Open(first));
  EXPECT_EQ(failing->Window(), nullptr);
  EXPECT_TRUE(warnings.back().contains("no data set here"));

  // A recent analysis deleted since: said, and taken off the list.
  const QString gone = Q(world.Root() + "/gone");
  WindowSettings::Remember(gone);
  QList<QAction*> entries = RecentEntries(*session);
  ASSERT_EQ(entries.size(), 2);
  entries[0]->trigger();
  EXPECT_TRUE(warnings.back().contains("no longer there")) << warnings.back().toStdString();
  EXPECT_EQ(WindowSettings::RecentAnalyses(), QStringList({first}));
  EXPECT_EQ(session->Window(), window);

  // The next start takes the last analysis and the layout.
  window->resize(720, 500);
  session.reset(); // ended with its window open, as when the program quits
  EXPECT_EQ(DesktopSession::StartFolder(), first);
  session = Session();
  ASSERT_TRUE(session->Open(DesktopSession::StartFolder()));
  EXPECT_EQ(session->Window()->size(), QSize(720, 500));

  // Deleted since: the start falls back to the default folder.
  session.reset();
  fs::remove_all(world.AnalysisFolder());
  EXPECT_EQ(DesktopSession::StartFolder(), WindowSettings::DefaultAnalysisFolder());
}

TEST(WindowSettingsTest, TheRecentListKeepsTheLatestFoldersAndNoSharedLocations) {
  tov::testing::TempFolder tmp;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Q(tmp / "config"));
  for (int i = 0; i < WindowSettings::kRecentCount + 2; ++i) WindowSettings::Remember(Q(tmp / std::to_string(i)));
  WindowSettings::Remember(Q(tmp / "3/../3/"));
  WindowSettings::Remember("postgresql://team@server/gis?schema=s");
  const QStringList recent = WindowSettings::RecentAnalyses();
  ASSERT_EQ(recent.size(), WindowSettings::kRecentCount);
  EXPECT_EQ(recent[0], Q(tmp / "3")) << "named again: first, once, as one clean path";
  EXPECT_EQ(recent[1], Q(tmp / "9"));
  EXPECT_FALSE(recent.contains(Q(tmp / "0"))) << "the oldest fall off";
  EXPECT_EQ(recent.count(Q(tmp / "3")), 1);

  // The first analysis: in Documents when there is such a folder.
  fs::create_directories(tmp / "home/Documents");
  auto defaultWith = [&](const char* documents) {
    return WindowSettings::DefaultAnalysisFolder(Q(tmp / "home"), Q(tmp / documents));
  };
  EXPECT_EQ(defaultWith("home/Documents"), Q(tmp / "home/Documents/Tovana/analysis"));
  EXPECT_EQ(defaultWith("home/Missing"), Q(tmp / "home/tovana/analysis"));
  EXPECT_EQ(defaultWith("home"), Q(tmp / "home/tovana/analysis"));
}

// Steps for as long as it is let, each step a while of work.
class SlowFunction : public SpyFunction {
public:
  SlowFunction() : SpyFunction(&log) {}
  bool DoStep() override {
    ++steps;
    const bool wholeStep = !inStep;
    inStep = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    inStep = false;
    EXPECT_TRUE(wholeStep);
    return steps < 10000;
  }
  FunctionLog log;
  int steps = 0;
  bool inStep = false;
};

// Presses Cancel on the progress dialog once it is up; counts the timer's
// ticks meanwhile (the window's events going on).
struct CancelWhenShown {
  CancelWhenShown() {
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [this] {
      ++ticks;
      auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      shown = true;
      if (auto* cancel = dialog->findChild<QPushButton*>()) cancel->click();
    });
    timer.start();
  }
  QTimer timer;
  int ticks = 0;
  bool shown = false;
};

TEST(ProgressCancelTest, CancelStopsAFunctionBetweenStepsWhileTheWindowGoesOnAndOtherWorkThatAsks) {
  App();
  auto function = std::make_shared<SlowFunction>();
  CancelWhenShown user;
  Watchdog watchdog;
  const long before = CancelledWorkCount();
  QtProgressRunner().Run(function, "Study Area Setup", "Creating the study area...", "", 0);
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_TRUE(user.shown) << "no progress dialog came up";
  EXPECT_GT(user.ticks, 5) << "the window's events stood still";
  EXPECT_LT(function->steps, 10000) << "Cancel did not stop the function";
  EXPECT_EQ(CancelledWorkCount(), before + 1);

  // Other long work stops when it asks after Cancel.
  int rounds = 0;
  const bool finished = RunWithProgress("New Data Set", "Making the data set...", [&] {
    while (!WorkCancelled() && rounds < 100000) {
      ++rounds;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  EXPECT_FALSE(finished);
  EXPECT_LT(rounds, 100000);
  // Work that never asks runs to its end.
  EXPECT_TRUE(RunWithProgress("Quick", "Quick work", [] {}));
}

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

// The session's settings and test world, with a data set made from the source.
class DatasetMenuTest : public DesktopSessionTest {
protected:
  void SetUp() override {
    DesktopSessionTest::SetUp();
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
  EXPECT_TRUE(dialog.InferredLabel()->text().contains("Code rules: letters and digits, 5 characters, not checked"))
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
