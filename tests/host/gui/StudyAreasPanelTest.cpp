// The Study Areas panel beside the layer tree and the commands it shares
// with the layer tree's menu: open, zoom to, rename, export, properties and
// delete, each played on the real widgets.
#include "QtApp.h"

#include "host/gui/StudyAreaCommands.h"
#include "host/gui/StudyAreasPanel.h"
#include "host/studyareas/StudyAreaProperties.h"

#include <QFileDialog>

namespace tov::test {
namespace {

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

TEST_F(StudyAreasPanelTest, TheMenuOffersEachCommandAndOnlyStudyAreaLayersTheSame) {
  const QStringList all{"Open", "Zoom To", "Rename", "Export", "Properties", "Delete"};
  std::unique_ptr<QMenu> panel(PanelMenu("Harbour")), layer(LayerMenu("Harbour"));
  ASSERT_TRUE(layer);
  EXPECT_EQ(EntriesOf(*panel), all);
  EXPECT_EQ(EntriesOf(*layer), all);
  EXPECT_EQ(LayerMenu("Regions"), nullptr);
}

TEST_F(StudyAreasPanelTest, ZoomToShowsTheWholeStudyAreaAndLittleMore) {
  Make("Small"); // made at a zoomed-in view below
  MapPtr map = window->Canvas()->Control()->Map();
  auto view = As<ActiveView>(map);
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
  size_t files = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder.Path())) ++files;
  EXPECT_EQ(files, 2u) << "a scratch folder was left behind";
}

TEST_F(StudyAreasPanelTest, PropertiesShowTheSheetAndRenameTheManageDialogOnThatStudyArea) {
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
