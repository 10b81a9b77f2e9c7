// The host window on the small test data set: the select and draw tools, and
// the layer tree whose changes are saved at once.
//
// What the window shows of its map: the pointer in longitude and latitude
// and in map units, the scale and the box that takes a typed one, the
// Identify tool, layers greyed and left out of selections beyond their
// scale range, and Full Extent at the data set's initial extent.
//
// The Study Areas panel beside the layer tree and the commands it shares
// with the layer tree's menu: open, zoom to, rename, export, properties and
// delete, each played on the real widgets.
#include "QtApp.h"

#include "host/common/Paths.h"
#include "host/gui/IdentifyTool.h"
#include "host/gui/MapScale.h"
#include "host/gui/StatusReadouts.h"
#include "host/gui/StudyAreaCommands.h"
#include "host/gui/StudyAreasPanel.h"
#include "host/studyareas/StudyAreaProperties.h"

#include <QFileDialog>
#include <QRegularExpression>
#include <QTreeWidgetItemIterator>

namespace tov::test {
namespace {

class MainWindowTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    OpenWindow();
    window->FullExtent();
  }
  void Click(double lon, double lat, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    ClickOn(*window->Canvas(), PixelOf(lon, lat), mods);
  }
};

TEST_F(MainWindowTest, ClicksSelectRegionsShiftAddsAndClearEmpties) {
  window->SetTool(MainWindow::Tool::Select);
  Click(-74.5, 40.75);
  EXPECT_EQ(Map()->SelectionCount(), 1);
  Click(-73.5, 40.75);
  EXPECT_EQ(Map()->SelectionCount(), 1); // a new selection replaces the old
  Click(-74.5, 40.75, Qt::ShiftModifier);
  EXPECT_EQ(Map()->SelectionCount(), 2);
  window->ClearSelection();
  EXPECT_EQ(Map()->SelectionCount(), 0);
}

TEST_F(MainWindowTest, APolygonIsDrawnAndAHiddenLayerIsSavedAtOnce) {
  window->SetTool(MainWindow::Tool::DrawPolygon);
  const QPointF first = PixelOf(-74.8, 40.2), second = PixelOf(-73.2, 40.2), last = PixelOf(-74, 41.2);
  PostMouse(*window->Canvas(), {{QEvent::MouseButtonRelease, first}, {QEvent::MouseButtonPress, second},
                                {QEvent::MouseButtonRelease, second}, {QEvent::MouseButtonPress, last},
                                {QEvent::MouseButtonDblClick, last}, {QEvent::MouseButtonRelease, last}});
  SendPress(*window->Canvas(), first);
  EXPECT_EQ(Map()->ElementCount(), 1);

  QTreeWidget* tree = window->LayerTree();
  ASSERT_GT(tree->topLevelItemCount(), 0);
  QTreeWidgetItem* item = tree->topLevelItem(tree->topLevelItemCount() - 1);
  LayerPtr layer = Map()->Layer(Map()->LayerCount() - 1);
  ASSERT_TRUE(layer->Visible());
  item->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(layer->Visible());
  EXPECT_NE(ReadTextFile(analysis->folder + "/document.json").find("\"visible\":false"), std::string::npos)
      << "the document was not saved";
}

TEST_F(MainWindowTest, AStoreThatFailsAfterTheRecordWasAddedIsToldInTheStatusBar) {
  AddLineLayerNamed(*analysis, "Harbour");
  Played([&] { window->RunStudyAreaSetup(); }, Naming("Harbour"));
  const std::string status = window->StatusText().toStdString();
  EXPECT_NE(status.find("The study area \"Harbour\" was not stored: "), std::string::npos) << status;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("The study area \"Harbour\" was not stored: ", 0), 0u) << messages[0];
}

TEST_F(MainWindowTest, AStudyAreaWhoseDataIsGoneIsNamedInTheStatusBarAndMarkedInTheTree) {
  Played([&] { window->RunStudyAreaSetup(); }, Naming("Harbour"));
  window->Canvas()->repaint();
  EXPECT_EQ(window->DrawProblemsText().toStdString(), "");

  const std::string file = ToNativePath(Catalog()->Item("Harbour")->FilePath());
  const std::filesystem::path folder = std::filesystem::path(file).parent_path();
  // Gone when the analysis is opened again (an open dataset stays readable).
  window.reset();
  analysis.reset();
  for (const char* ext : {".shp", ".shx", ".dbf"}) std::filesystem::remove(folder / (std::string("StudyArea") + ext));
  analysis = world->Open();
  OpenWindow();
  window->FullExtent();
  window->Canvas()->repaint();

  EXPECT_EQ(window->DrawProblemsText().toStdString(), "Could not draw: Harbour");
  const QList<QTreeWidgetItem*> items = LayerItems("Harbour");
  ASSERT_EQ(items.size(), 1);
  const std::string tip = items[0]->toolTip(0).toStdString();
  EXPECT_EQ(tip.rfind("Could not be drawn: its data is missing: ", 0), 0u) << tip;
  EXPECT_FALSE(items[0]->icon(0).isNull());
  // The other layers are drawn as before and carry no mark.
  for (QTreeWidgetItemIterator it(window->LayerTree()); *it; ++it)
    EXPECT_TRUE(*it == items[0] || (*it)->icon(0).isNull()) << (*it)->text(0).toStdString();
}

// The test data set with a second view of its regions, "Detail", drawn only
// at 1:500,000 and larger, and an initial extent inside its regions.
TestWorldOptions DetailedWorld() {
  TestWorldOptions options;
  options.extraLayers =
      R"({ "name": "Detail", "sourceName": "regions", "mapLayerName": "Detail", "reference": true, "minimumScale": 500000 })";
  return options;
}

class MapReadoutsTest : public WindowTest {
protected:
  MapReadoutsTest() : WindowTest(DetailedWorld()) {}
  void SetUp() override {
    // The initial extent is the data set's own, narrower than its layers.
    const std::string file = world->DatasetFolder() + "/dataset.json";
    std::string json = ReadTextFile(file);
    json.replace(json.find("\"layers\""), 0, "\"initialExtent\": [-74.6, 40.4, -74.2, 40.9], ");
    WriteTextFile(file, json);
    WindowTest::SetUp();
    OpenWindow();
  }
  double Scale() const { return CanvasScale(*window->Canvas()); }
  // Whether the map shows longitude and latitude (NAD83).
  bool Shows(double lon, double lat) const { return QRectF(window->Canvas()->rect()).contains(PixelOf(lon, lat)); }
  void TypeScale(const QString& text) {
    QLineEdit* box = window->Readouts()->ScaleBox();
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
  }
  QTreeWidgetItem* LayerItem(const char* name) const {
    return window->LayerTree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
  }
  bool Greyed(const char* name) const {
    QTreeWidgetItem* item = LayerItem(name);
    return item && item->foreground(0).color() == window->palette().color(QPalette::Disabled, QPalette::Text);
  }
  long Selected(const char* name) const {
    for (long i = 0; i < Map()->LayerCount(); ++i)
      if (Map()->Layer(i)->Name() == name)
        if (auto layer = std::dynamic_pointer_cast<FeatureLayer>(Map()->Layer(i))) return layer->SelectionSet()->Count();
    return -1;
  }
};

TEST_F(MapReadoutsTest, ThePointerShowsInLongitudeAndLatitudeAndInMapUnits) {
  const QPointF pixel = PixelOf(-74.5, 40.75);
  QTest::mouseMove(window->Canvas(), pixel.toPoint());
  QCoreApplication::processEvents();
  // As "40.75000° N, 74.50000° W".
  const QString lonLat = window->Readouts()->LonLatText();
  const QRegularExpressionMatch l = QRegularExpression("([0-9.]+)\u00b0 ([NS]), ([0-9.]+)\u00b0 ([EW])").match(lonLat);
  ASSERT_TRUE(l.hasMatch()) << lonLat.toStdString();
  const double degreesPerPixel = 0.02; // far more than a pixel covers here
  EXPECT_NEAR(l.captured(1).toDouble() * (l.captured(2) == "S" ? -1 : 1), 40.75, degreesPerPixel);
  EXPECT_NEAR(l.captured(3).toDouble() * (l.captured(4) == "W" ? -1 : 1), -74.5, degreesPerPixel);

  // The map's own units are the metres of its projected system.
  const QPointF at = window->Canvas()->Viewport().ToMap(QPointF(pixel.toPoint()));
  const QString units = window->Readouts()->MapUnitsText();
  const QRegularExpressionMatch m = QRegularExpression("Map: ([-0-9,.]+) m, ([-0-9,.]+) m").match(units);
  ASSERT_TRUE(m.hasMatch()) << units.toStdString();
  EXPECT_NEAR(m.captured(1).remove(',').toDouble(), at.x(), 1);
  EXPECT_NEAR(m.captured(2).remove(',').toDouble(), at.y(), 1);
}

TEST_F(MapReadoutsTest, ATypedScaleSetsTheMapsScaleAndNonsenseChangesNothing) {
  const double before = Scale();
  ASSERT_GT(before, 0);
  EXPECT_EQ(window->Readouts()->ScaleBox()->text().toStdString(), FormatScale(before));
  for (const auto& [typed, wanted] : {std::pair{"1:250000", 250000.0}, {"1,000,000", 1000000.0}, {"75 000", 75000.0}}) {
    TypeScale(typed);
    EXPECT_NEAR(Scale(), wanted, wanted * 0.01) << typed;
    EXPECT_EQ(window->Readouts()->ScaleBox()->text().toStdString(), FormatScale(Scale())) << typed;
  }
  EXPECT_NE(world->DocumentText().find("extent"), std::string::npos);
  const double kept = Scale();
  TypeScale("big");
  EXPECT_DOUBLE_EQ(Scale(), kept);
  EXPECT_EQ(window->Readouts()->ScaleBox()->text().toStdString(), FormatScale(kept));
  EXPECT_DOUBLE_EQ(ParseScale("2:5000"), 0);
  EXPECT_DOUBLE_EQ(ParseScale("1 : 24'000"), 24000);
}

TEST_F(MapReadoutsTest, ALayerBeyondItsScaleRangeIsGreyedLeftOutOfIdentifyAndCannotBeSelected) {
  TypeScale("2000000");
  EXPECT_TRUE(Greyed("Detail"));
  EXPECT_FALSE(Greyed("Regions"));
  // Identify shows the attributes of the features under the click.
  window->SetTool(MainWindow::Tool::Identify);
  ClickOn(*window->Canvas(), PixelOf(-74.5, 40.75));
  IdentifyResults* results = window->IdentifyWindow();
  ASSERT_NE(results, nullptr);
  EXPECT_TRUE(results->isVisible());
  QTreeWidget* tree = results->Tree();
  // Regions is drawn at this scale, Detail is not.
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "Regions");
  ASSERT_EQ(tree->topLevelItem(0)->childCount(), 1);
  QTreeWidgetItem* feature = tree->topLevelItem(0)->child(0);
  EXPECT_EQ(feature->text(0), "West");
  QStringList fields; // as "field=value"
  for (int i = 0; i < feature->childCount(); ++i) fields << feature->child(i)->text(0) + "=" + feature->child(i)->text(1);
  EXPECT_TRUE(fields.contains("NAME=West")) << fields.join(", ").toStdString();
  // Off every region: nothing found, said so.
  EXPECT_TRUE(IdentifyAt(*Map(), -1e7, -1e7, 10, Scale()).empty());

  window->SetTool(MainWindow::Tool::Select);
  DragOn(*window->Canvas(), PixelOf(-74.6, 40.5), PixelOf(-74.4, 40.7));
  EXPECT_EQ(Selected("Regions"), 1);
  EXPECT_EQ(Selected("Detail"), 0) << "a layer the map does not draw was selected";

  TypeScale("250000");
  EXPECT_FALSE(Greyed("Detail"));
  DragOn(*window->Canvas(), PixelOf(-74.52, 40.72), PixelOf(-74.48, 40.78));
  EXPECT_EQ(Selected("Detail"), 1);
  // Hidden by the user: out of the selection too.
  LayerItem("Detail")->setCheckState(0, Qt::Unchecked);
  DragOn(*window->Canvas(), PixelOf(-74.52, 40.72), PixelOf(-74.48, 40.78));
  EXPECT_EQ(Selected("Detail"), 0);
}

TEST_F(MapReadoutsTest, FullExtentShowsTheDataSetsInitialExtentNotAllItsLayers) {
  TypeScale("100000");
  ASSERT_FALSE(Shows(-74.6, 40.4));
  window->FullExtent();
  // All of the initial extent, not the regions' far corners (-75 to -73).
  for (auto [lon, lat] : {std::pair{-74.6, 40.4}, {-74.2, 40.4}, {-74.2, 40.9}, {-74.6, 40.9}})
    EXPECT_TRUE(Shows(lon, lat)) << lon << ", " << lat;
  EXPECT_FALSE(Shows(-75.0, 40.0));
  EXPECT_FALSE(Shows(-73.0, 41.5));
}

// The panel's menu and the layer tree's menu on a study area layer run the
// same commands: each is played through one or the other, some through both.
class StudyAreasPanelTest : public WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    Make("Harbour");
    Make("Midtown");
    OpenWindow();
  }
  QTreeWidget* List() const { return window->StudyAreas()->List(); }
  // The rows as "name | method | area", the current one starred.
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int i = 0; i < List()->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = List()->topLevelItem(i);
      rows.push_back((item->font(0).bold() ? "*" : "") + item->text(0).toStdString() + " | " +
                     item->text(1).toStdString() + " | " + item->text(2).toStdString());
    }
    return rows;
  }
  QMenu* PanelMenu(const char* studyArea) { return window->Commands()->MenuFor(studyArea, window.get()); }
  QMenu* LayerMenu(const char* layer) {
    const auto items = LayerItems(layer);
    return items.isEmpty() ? nullptr : window->ContextMenuFor(items.front());
  }
  static void NoForm(Form& form, QWidget&) { ADD_FAILURE() << form.Name() << " was shown"; }
};

TEST_F(StudyAreasPanelTest, ListsNameMethodAndAreaWithTheCurrentMarkedAndFollowsEveryRun) {
  const std::vector<std::string> rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].rfind("Harbour | The current extent | ", 0), 0u) << rows[0];
  EXPECT_EQ(rows[1].rfind("*Midtown | The current extent | ", 0), 0u) << rows[1];
  EXPECT_NE(rows[0].find(" km\u00b2"), std::string::npos) << rows[0];

  // A study area made in the window shows at once, marked current.
  Played([&] { window->RunStudyAreaSetup(); }, Naming("Bay"));
  EXPECT_EQ(Rows().size(), 3u);
  EXPECT_EQ(Rows()[0].rfind("*Bay | ", 0), 0u) << Rows()[0];
  EXPECT_EQ(Rows()[2].rfind("Midtown | ", 0), 0u) << Rows()[2];
}

TEST_F(StudyAreasPanelTest, DoubleClickEnterAndTheLayerTreesOpenMakeAStudyAreaCurrent) {
  QTreeWidgetItem* harbour = window->StudyAreas()->ItemOf("Harbour");
  ASSERT_NE(harbour, nullptr);
  const QPoint at = List()->visualItemRect(harbour).center();
  Played([&] {
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  }, NoForm);
  EXPECT_EQ(CurrentStudyArea(), "Harbour");
  EXPECT_TRUE(window->StudyAreas()->ItemOf("Harbour")->font(0).bold());

  List()->setFocus();
  List()->setCurrentItem(window->StudyAreas()->ItemOf("Midtown"));
  Played([&] { QTest::keyClick(List(), Qt::Key_Return); }, NoForm);
  EXPECT_EQ(CurrentStudyArea(), "Midtown");
  Choose(LayerMenu("Harbour"), "Open", NoForm);
  EXPECT_EQ(CurrentStudyArea(), "Harbour");
}

TEST_F(StudyAreasPanelTest, ZoomToShowsTheWholeStudyAreaAndLittleMore) {
  Make("Small"); // made at a zoomed-in view below
  auto view = As<ActiveView>(Map());
  // Somewhere else, far smaller.
  EnvelopePtr away = view->Extent();
  const double w = away->Width() / 50;
  away->PutCoords(away->XMin(), away->YMin(), away->XMin() + w, away->YMin() + w);
  view->SetExtent(away);
  Choose(PanelMenu("Harbour"), "Zoom To", NoForm);
  const StudyAreaProperties harbour = DescribeStudyArea(*analysis, "Harbour");
  ASSERT_TRUE(harbour.hasShape);
  const QRectF shown = window->Canvas()->Viewport().VisibleMapRect();
  EXPECT_TRUE(shown.contains(QRectF(QPointF(harbour.xMin, harbour.yMin), QPointF(harbour.xMax, harbour.yMax))));
  // A margin, not the whole country.
  EXPECT_LT(std::min(shown.width() / (harbour.xMax - harbour.xMin), shown.height() / (harbour.yMax - harbour.yMin)), 1.3);
  EXPECT_EQ(CurrentStudyArea(), "Small") << "zooming to a study area does not open it";
}

TEST_F(StudyAreasPanelTest, ExportWritesTheFileChosenInTheSaveDialogAndReplacesOneOnlyWhenWritten) {
  tov::testing::TempFolder folder;
  const QString path = QString::fromStdString(folder.Path() + "/harbour.geojson");
  bool dialogShown = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr) << "no save dialog";
    dialogShown = true;
    EXPECT_EQ(dialog->nameFilters().size(), 5);
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept(); // as its Save button does
  });
  Choose(PanelMenu("Harbour"), "Export", NoForm);
  EXPECT_TRUE(dialogShown);
  const std::string written = ReadTextFile(path.toStdString());
  EXPECT_NE(written.find("\"FeatureCollection\""), std::string::npos);
  EXPECT_NE(written.find("Harbour"), std::string::npos);

  // Replacing: the new file takes the old one's place.
  WriteTextFile(folder.Path() + "/old.geojson", "old");
  EXPECT_TRUE(window->Commands()->ExportTo("Midtown", QString::fromStdString(folder.Path() + "/old.geojson")));
  EXPECT_NE(ReadTextFile(folder.Path() + "/old.geojson").find("Midtown"), std::string::npos);
  // A type the program does not write is refused with a message; nothing
  // is written and the old file stays.
  messages.clear();
  EXPECT_FALSE(window->Commands()->ExportTo("Midtown", QString::fromStdString(folder.Path() + "/old.txt")));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("old.txt"), std::string::npos) << messages[0];
  EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/old.txt"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2)
      << "a scratch folder was left behind";
}

TEST_F(StudyAreasPanelTest, BothMenusOfferEachCommandPropertiesShowTheSheetAndRenameTheManageDialog) {
  // Only study area layers have the menu.
  const QStringList all{"Open", "Zoom To", "Rename", "Export", "Properties", "Delete"};
  std::unique_ptr<QMenu> panel(PanelMenu("Harbour")), layer(LayerMenu("Harbour"));
  ASSERT_TRUE(layer);
  EXPECT_EQ(EntriesOf(*panel), all);
  EXPECT_EQ(EntriesOf(*layer), all);
  EXPECT_EQ(LayerMenu("Regions"), nullptr);
  for (QMenu* menu : {PanelMenu("Harbour"), LayerMenu("Harbour")}) {
    Choose(menu, "Properties", [](Form& form, QWidget&) { form.CloseBox(); });
    EXPECT_EQ(shown, std::vector<std::string>{"StudyAreaPropertiesDialog"});
  }
  // Midtown, second in the manage dialog's list, is the one chosen there.
  Choose(LayerMenu("Midtown"), "Rename", Renaming("Mid Town"));
  EXPECT_TRUE(Catalog()->Exists("Mid Town"));
  EXPECT_TRUE(Catalog()->Exists("Harbour"));
  Choose(PanelMenu("Harbour"), "Rename", Renaming("Port"));
  EXPECT_TRUE(Catalog()->Exists("Port"));
  EXPECT_NE(window->StudyAreas()->ItemOf("Port"), nullptr);
  EXPECT_EQ(window->StudyAreas()->ItemOf("Harbour"), nullptr);
}

TEST_F(StudyAreasPanelTest, DeleteAsksFirstNoKeepsTheStudyAreaYesDeletesIt) {
  StudyAreaCatalogPtr catalog = Catalog();
  Choose(PanelMenu("Harbour"), "Delete", [](Form& form, QWidget& dialog) {
    EXPECT_EQ(form.Name(), "DeleteConfirmSADialog");
    Press(dialog, "NoButton");
  });
  EXPECT_EQ(shown, std::vector<std::string>{"DeleteConfirmSADialog"});
  EXPECT_TRUE(catalog->Exists("Harbour"));

  // The Delete key on the panel's row asks the same.
  List()->setFocus();
  List()->setCurrentItem(window->StudyAreas()->ItemOf("Harbour"));
  auto yes = [](Form&, QWidget& dialog) { Press(dialog, "YesButton"); };
  Played([&] { QTest::keyClick(List(), Qt::Key_Delete); }, yes);
  EXPECT_FALSE(catalog->Exists("Harbour"));
  EXPECT_EQ(window->StudyAreas()->ItemOf("Harbour"), nullptr);
  EXPECT_TRUE(LayerItems("Harbour").isEmpty());
  EXPECT_TRUE(catalog->Exists("Midtown"));
  // The layer tree's Delete asks the same.
  Choose(LayerMenu("Midtown"), "Delete", yes);
  EXPECT_EQ(shown, std::vector<std::string>{"DeleteConfirmSADialog"});
  EXPECT_FALSE(catalog->Exists("Midtown"));
}

} // namespace
} // namespace tov::test
