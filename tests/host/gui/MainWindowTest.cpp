// The host window on the small test data set: the select and draw tools, and
// the layer tree whose changes are saved at once.
#include "QtApp.h"

#include "host/common/Paths.h"

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
  const QPointF first = PixelOf(-74.8, 40.2), second = PixelOf(-73.2, 40.2), last = PixelOf(-74, 41.2);
  PostMouse(*window->Canvas(), {{QEvent::MouseButtonRelease, first}, {QEvent::MouseButtonPress, second},
                                {QEvent::MouseButtonRelease, second}, {QEvent::MouseButtonPress, last},
                                {QEvent::MouseButtonDblClick, last}, {QEvent::MouseButtonRelease, last}});
  SendPress(*window->Canvas(), first);
  EXPECT_EQ(map->ElementCount(), 1);

  QTreeWidget* tree = window->LayerTree();
  ASSERT_GT(tree->topLevelItemCount(), 0);
  QTreeWidgetItem* item = tree->topLevelItem(tree->topLevelItemCount() - 1);
  LayerPtr layer = map->Layer(map->LayerCount() - 1);
  ASSERT_TRUE(layer->Visible());
  item->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(layer->Visible());
  EXPECT_NE(ReadTextFile(analysis->folder + "/document.json").find("\"visible\": false"), std::string::npos)
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
    if (*it != items[0]) {
      EXPECT_TRUE((*it)->icon(0).isNull()) << (*it)->text(0).toStdString();
    }
}

} // namespace
} // namespace tov::test
