// The host window on the small test data set: the select and draw tools, and
// the layer tree whose changes are saved at once.
#include "QtApp.h"

#include "host/common/Paths.h"
#include "host/gui/MainWindow.h"
#include "host/gui/RegisterHostGuiClasses.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <fstream>

namespace tov::test {
namespace {

class MainWindowTest : public WorldTest {
protected:
  void SetUp() override {
    App();
    RegisterHostGuiClasses(false);
    analysis = world->Open();
    window = std::make_unique<MainWindow>(analysis);
    window->resize(900, 600);
    window->show();
    QCoreApplication::processEvents();
    window->FullExtent();
  }

  // Where a longitude and latitude (NAD83) is on the canvas, whose map has
  // the data set's projected system.
  QPointF PixelOf(double lon, double lat) {
    auto point = CreateAs<Point>("orvaCore.Point");
    point->PutCoords(lon, lat);
    point->SetSpatialReference(Geographic(4269));
    point->Project(window->Canvas()->Control()->Map()->SpatialReference());
    return window->Canvas()->Viewport().ToPixel(point->X(), point->Y());
  }
  void Post(QEvent::Type type, QPointF at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QCoreApplication::postEvent(window->Canvas(), new QMouseEvent(type, at, at, at, Qt::LeftButton, held, mods));
  }
  void Press(QPointF at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Watchdog watchdog;
    QMouseEvent press(QEvent::MouseButtonPress, at, at, at, Qt::LeftButton, Qt::LeftButton, mods);
    QCoreApplication::sendEvent(window->Canvas(), &press);
    EXPECT_FALSE(watchdog.Fired());
  }
  void Click(double x, double y, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Post(QEvent::MouseButtonRelease, PixelOf(x, y), mods);
    Press(PixelOf(x, y), mods);
  }
  std::string DocumentFile() const { return ReadTextFile(analysis->folder + "/document.json"); }

  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, ClicksSelectRegionsShiftAddsAndClearEmpties) {
  MapPtr map = window->Canvas()->Control()->Map();
  window->SetTool(MainWindow::Tool::Select);
  Click(-74.5, 40.75);
  EXPECT_EQ(map->SelectionCount(), 1);
  Click(-73.5, 40.75);
  EXPECT_EQ(map->SelectionCount(), 1); // a new selection replaces the old
  Click(-74.5, 40.75, Qt::ShiftModifier);
  EXPECT_EQ(map->SelectionCount(), 2);
  window->ClearSelection();
  EXPECT_EQ(map->SelectionCount(), 0);
}

TEST_F(MainWindowTest, APolygonIsDrawnAndAHiddenLayerIsSavedAtOnce) {
  MapPtr map = window->Canvas()->Control()->Map();
  window->SetTool(MainWindow::Tool::DrawPolygon);
  Post(QEvent::MouseButtonRelease, PixelOf(-74.8, 40.2));
  Post(QEvent::MouseButtonPress, PixelOf(-73.2, 40.2));
  Post(QEvent::MouseButtonRelease, PixelOf(-73.2, 40.2));
  Post(QEvent::MouseButtonPress, PixelOf(-74, 41.2));
  Post(QEvent::MouseButtonDblClick, PixelOf(-74, 41.2));
  Post(QEvent::MouseButtonRelease, PixelOf(-74, 41.2));
  Press(PixelOf(-74.8, 40.2));
  EXPECT_EQ(map->ElementCount(), 1);

  QTreeWidget* tree = window->LayerTree();
  ASSERT_GT(tree->topLevelItemCount(), 0);
  QTreeWidgetItem* item = tree->topLevelItem(tree->topLevelItemCount() - 1);
  LayerPtr layer = map->Layer(map->LayerCount() - 1);
  ASSERT_TRUE(layer->Visible());
  item->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(layer->Visible());
  EXPECT_NE(DocumentFile().find("\"visible\": false"), std::string::npos) << "the document was not saved";
}

TEST_F(MainWindowTest, AStoreThatFailsAfterTheRecordWasAddedIsToldInTheStatusBar) {
  AddLineLayerNamed(*analysis, "Harbour");
  auto presenter = std::make_shared<QtPresenter>();
  std::vector<std::string> messages;
  presenter->SetMsgBoxAnswer([&](const std::string& text, int32_t) {
    messages.push_back(text);
    return vbOK;
  });
  presenter->SetOnShown([](Form& form, QWidget& dialog) {
    if (form.Name() == "CreateSAMainDialog") {
      // The chooser: the data set's one method is selected.
      QTest::mouseClick(dialog.findChild<QPushButton*>("NextButton"), Qt::LeftButton);
      return;
    }
    QTest::keyClicks(dialog.findChild<QLineEdit*>("StudyAreaNameText"), "Harbour");
    QTest::mouseClick(dialog.findChild<QPushButton*>("NextButton"), Qt::LeftButton);
  });
  SetPresenter(presenter);
  Watchdog watchdog;
  window->RunStudyAreaSetup();
  EXPECT_FALSE(watchdog.Fired());
  const std::string status = window->StatusText().toStdString();
  EXPECT_NE(status.find("The study area \"Harbour\" was not stored: "), std::string::npos) << status;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("The study area \"Harbour\" was not stored: ", 0), 0u) << messages[0];
}

TEST_F(MainWindowTest, AStudyAreaWhoseDataIsGoneIsNamedInTheStatusBarAndMarkedInTheTree) {
  auto presenter = std::make_shared<QtPresenter>();
  presenter->SetOnShown([](Form& form, QWidget& dialog) {
    if (form.Name() != "CreateSAMainDialog") QTest::keyClicks(dialog.findChild<QLineEdit*>("StudyAreaNameText"), "Harbour");
    QTest::mouseClick(dialog.findChild<QPushButton*>("NextButton"), Qt::LeftButton);
  });
  SetPresenter(presenter);
  window->RunStudyAreaSetup();
  window->Canvas()->repaint();
  EXPECT_EQ(window->DrawProblemsText().toStdString(), "");

  const std::string file = ToNativePath(analysis->dataManager->GetStudyAreaCatalog()->Item("Harbour")->FilePath());
  const std::filesystem::path folder = std::filesystem::path(file).parent_path();
  // Gone when the analysis is opened again (an open dataset stays readable).
  window.reset();
  analysis.reset();
  for (const char* ext : {".shp", ".shx", ".dbf"}) std::filesystem::remove(folder / (std::string("StudyArea") + ext));
  SetUp();
  window->Canvas()->repaint();

  EXPECT_EQ(window->DrawProblemsText().toStdString(), "Could not draw: Harbour");
  QTreeWidget* tree = window->LayerTree();
  const QList<QTreeWidgetItem*> items = tree->findItems("Harbour", Qt::MatchStartsWith | Qt::MatchRecursive);
  ASSERT_EQ(items.size(), 1);
  const std::string tip = items[0]->toolTip(0).toStdString();
  EXPECT_EQ(tip.rfind("Could not be drawn: its data is missing: ", 0), 0u) << tip;
  EXPECT_FALSE(items[0]->icon(0).isNull());
  // The other layers are drawn as before and carry no mark.
  for (QTreeWidgetItemIterator it(tree); *it; ++it)
    if (*it != items[0]) {
      EXPECT_TRUE((*it)->icon(0).isNull()) << (*it)->text(0).toStdString();
    }
}

} // namespace
} // namespace tov::test
