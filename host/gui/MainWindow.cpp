#include "host/gui/MainWindow.h"

#include "host/gui/DatasetMenu.h"
#include "host/gui/QtPresenter.h"
#include "host/session/HostTaskRun.h"
#include "host/session/MapPreparation.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/Presenter.h"
#include "platform/forms/UserActions.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/forms/MsgBox.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/Layer.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/SelectionEnvironment.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace tov {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

// Plays the chooser's part for the layer tree's commands, as a user would:
// the study area picked in its combo, then open (Next) or the manage button
// (its dialog shown as usual, preselected on that study area) and Cancel.
// Every other form and box goes to the window's presenter.
class ChooserPlayer : public Presenter {
public:
  ChooserPlayer(PresenterPtr window, std::string studyArea, bool open)
      : m_window(std::move(window)), m_studyArea(std::move(studyArea)), m_open(open) {}

  void ShowModal(Form& form) override {
    if (m_played || form.Name() != "CreateSAMainDialog") return m_window->ShowModal(form);
    m_played = true;
    if (auto combo = std::dynamic_pointer_cast<ListControl>(form.Ctl("SANameCombo")))
      for (long i = 0; i < combo->ListCount(); ++i)
        if (combo->List(i) == m_studyArea) UserActions::Select(form, "SANameCombo", i);
    if (m_open) {
      UserActions::Click(form, "OpenSAOption");
      UserActions::Click(form, "NextButton");
    } else {
      UserActions::Click(form, "ManageSAButton");
      UserActions::Click(form, "CancelButton");
    }
  }
  void Hide(Form& form) override {
    if (form.Name() != "CreateSAMainDialog") m_window->Hide(form);
  }
  int32_t MsgBox(const std::string& text, int32_t style, const std::string& title) override {
    return m_window->MsgBox(text, style, title);
  }
  void PropertyChanged(Form& form, Control* control, Property property) override {
    if (form.Name() != "CreateSAMainDialog") m_window->PropertyChanged(form, control, property);
  }
  TrackedShape Track(TrackKind kind) override { return m_window->Track(kind); }

private:
  PresenterPtr m_window;
  std::string m_studyArea;
  bool m_open;
  bool m_played = false;
};

} // namespace

MainWindow::MainWindow(AnalysisPtr analysis, QWidget* parent)
    : QMainWindow(parent), m_analysis(std::move(analysis)), m_control(std::make_shared<HostMapControl>()) {
  setWindowTitle("Tovana - " + Q(AnalysisShownName(*m_analysis)));
  MapDocumentPtr document = Must(m_analysis->application->Document(), "the document");
  m_control->SetMap(Must(document->FocusMap(), "the focus map"));

  auto* splitter = new QSplitter(this);
  m_tree = new QTreeWidget(splitter);
  m_tree->setHeaderLabel(tr("Layers"));
  m_canvas = new MapCanvas(m_control, splitter);
  splitter->addWidget(m_tree);
  splitter->addWidget(m_canvas);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({270, 730});
  setCentralWidget(splitter);
  connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) { LayerItemChanged(item); });
  m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_tree, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (QMenu* menu = ContextMenuFor(m_tree->itemAt(at))) menu->popup(m_tree->viewport()->mapToGlobal(at));
  });
  m_canvas->SetMouseDownHandler(
      [this](int b, int s, double x, double y, double mx, double my) { OnMapMouseDown(b, s, x, y, mx, my); });
  m_canvas->SetDrawProblemsHandler([this] { ShowDrawProblems(); });

  QMenu* analysisMenu = menuBar()->addMenu(tr("&Analysis"));
  QAction* setup = analysisMenu->addAction(tr("Study Area Setup..."));
  connect(setup, &QAction::triggered, this, [this] { RunStudyAreaSetup(); });
  analysisMenu->addSeparator();
  m_datasets = new DatasetMenu(analysisMenu, this, m_analysis);
  analysisMenu->addSeparator();
  connect(analysisMenu->addAction(tr("E&xit")), &QAction::triggered, this, [this] { close(); });

  QToolBar* bar = addToolBar(tr("Tools"));
  m_tools = new QActionGroup(this);
  auto tool = [&](const QString& text, Tool t) {
    QAction* a = bar->addAction(text);
    a->setCheckable(true);
    m_tools->addAction(a);
    connect(a, &QAction::triggered, this, [this, t] { SetTool(t); });
    if (t == Tool::ZoomIn) a->setChecked(true);
  };
  tool(tr("Zoom In"), Tool::ZoomIn);
  tool(tr("Zoom Out"), Tool::ZoomOut);
  tool(tr("Pan"), Tool::Pan);
  connect(bar->addAction(tr("Full Extent")), &QAction::triggered, this, [this] { FullExtent(); });
  bar->addSeparator();
  tool(tr("Select Features"), Tool::Select);
  tool(tr("Draw Polygon"), Tool::DrawPolygon);
  connect(bar->addAction(tr("Clear Selection")), &QAction::triggered, this, [this] { ClearSelection(); });

  m_status = new QLabel(this);
  statusBar()->addWidget(m_status);
  m_drawProblems = new QLabel(this);
  m_drawProblems->setStyleSheet("color: #b00000");
  statusBar()->addPermanentWidget(m_drawProblems);
  SetTool(Tool::ZoomIn);
  Reload();
}

void MainWindow::SetTool(Tool tool) {
  m_tool = tool;
  m_control->SetMousePointer(tool == Tool::Pan ? mousePointerHand : mousePointerCrosshair);
}

std::string MainWindow::CurrentStudyArea() const {
  try {
    return m_analysis->extension->ExtensionProperties()->GetProperty(kCurrentExtentKey);
  } catch (const HostError&) {
    return std::string();
  }
}

void MainWindow::AddLayerItem(const LayerPtr& layer, QTreeWidgetItem* parent, const std::string& current) {
  if (!layer) return;
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
  const bool isCurrent = !current.empty() && layer->Name() == current;
  item->setText(0, Q(layer->Name()) + (isCurrent ? tr("  (current study area)") : QString()));
  if (isCurrent) {
    QFont f = item->font(0);
    f.setBold(true);
    item->setFont(0, f);
  }
  if (!layer->Valid()) item->setToolTip(0, tr("The data of this layer is missing"));
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(0, layer->Visible() ? Qt::Checked : Qt::Unchecked);
  item->setData(0, Qt::UserRole, static_cast<qulonglong>(m_itemLayers.size()));
  m_itemLayers.push_back(layer);
  if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer)) {
    for (long i = 0; i < group->Count(); ++i) AddLayerItem(group->Layer(i), item, current);
    item->setExpanded(true);
  }
}

void MainWindow::Reload() {
  m_building = true;
  m_tree->clear();
  m_itemLayers.clear();
  const std::string current = CurrentStudyArea();
  MapPtr map = m_control->Map();
  for (long i = 0; i < map->LayerCount(); ++i) AddLayerItem(map->Layer(i), nullptr, current);
  m_building = false;
  const QString currentText = current.empty() ? tr("No current study area") : tr("Current study area: ") + Q(current);
  m_status->setText(m_outcome.isEmpty() ? currentText : m_outcome + "   " + currentText);
  ShowDrawProblems();
}

// A layer the map leaves out is named in the status bar and marked in the
// tree with the reason, so that a broken study area is not simply missing.
void MainWindow::ShowDrawProblems() {
  const QStringList& undrawn = m_canvas->UndrawnLayers();
  const QStringList& problems = m_canvas->DrawProblems();
  QString text;
  if (!undrawn.isEmpty()) text = tr("Could not draw: ") + undrawn.join(", ");
  else if (!problems.isEmpty()) text = tr("Could not draw the map: ") + problems.join("; ");
  m_drawProblems->setText(text);
  m_drawProblems->setToolTip(problems.join("\n"));
  for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
    QTreeWidgetItem* item = *it;
    const auto index = item->data(0, Qt::UserRole).toULongLong();
    if (index >= m_itemLayers.size()) continue;
    const QString name = Q(m_itemLayers[index]->Name());
    QString why;
    for (const QString& line : problems)
      if (line.startsWith(name + ": ")) why = line.mid(name.size() + 2);
    if (why.isEmpty()) {
      item->setIcon(0, QIcon());
      item->setToolTip(0, m_itemLayers[index]->Valid() ? QString() : tr("The data of this layer is missing"));
    } else {
      item->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
      item->setToolTip(0, tr("Could not be drawn: ") + why);
    }
  }
}

QString MainWindow::DrawProblemsText() const { return m_drawProblems->text(); }

QString MainWindow::StatusText() const { return m_status->text(); }

void MainWindow::LayerItemChanged(QTreeWidgetItem* item) {
  if (m_building) return;
  const auto index = item->data(0, Qt::UserRole).toULongLong();
  if (index >= m_itemLayers.size()) return;
  const bool visible = item->checkState(0) == Qt::Checked;
  if (m_itemLayers[index]->Visible() == visible) return;
  m_itemLayers[index]->SetVisible(visible);
  m_control->Refresh();
  Save();
}

void MainWindow::Save() {
  try {
    SaveAnalysis(*m_analysis);
  } catch (const HostError& e) {
    QMessageBox::warning(this, tr("Tovana"), tr("The document could not be saved: ") + Q(e.Description()));
  }
}

void MainWindow::FullExtent() {
  auto full = m_control->FullExtent();
  if (!full || full->Width() <= 0) return;
  m_control->SetExtent(full);
  Save();
}

void MainWindow::ClearSelection() {
  m_control->Map()->ClearSelection();
  m_control->Map()->UnselectAllElements();
  m_control->Refresh();
  Save();
}

void MainWindow::OnMapMouseDown(int button, int shift, double, double, double mapX, double mapY) {
  if (button != 1) return;
  try {
    MapPtr map = m_control->Map();
    const MapViewport viewport = m_canvas->Viewport();
    switch (m_tool) {
    case Tool::ZoomIn:
    case Tool::ZoomOut: {
      EnvelopePtr box = m_control->TrackRectangle();
      EnvelopePtr extent = m_control->Extent();
      const bool click = box->Width() <= 0 || box->Height() <= 0;
      const double cx = click ? mapX : (box->XMin() + box->XMax()) / 2;
      const double cy = click ? mapY : (box->YMin() + box->YMax()) / 2;
      double factor = click ? 0.5 : std::max(box->Width() / extent->Width(), box->Height() / extent->Height());
      if (m_tool == Tool::ZoomOut) factor = 1 / std::max(factor, 1e-6);
      const double w = extent->Width() * factor / 2, h = extent->Height() * factor / 2;
      extent->PutCoords(cx - w, cy - h, cx + w, cy + h);
      m_control->SetExtent(extent);
      break;
    }
    case Tool::Pan:
      m_control->Pan();
      break;
    case Tool::Select: {
      EnvelopePtr box = m_control->TrackRectangle();
      TrackedShape shape;
      shape.Kind = TrackKind::Rectangle;
      shape.Empty = false;
      const bool click = box->Width() <= 0 || box->Height() <= 0;
      const double tolerance = 3 * viewport.Resolution();
      shape.XMin = click ? mapX - tolerance : box->XMin();
      shape.YMin = click ? mapY - tolerance : box->YMin();
      shape.XMax = click ? mapX + tolerance : box->XMax();
      shape.YMax = click ? mapY + tolerance : box->YMax();
      auto env = CreateAs<SelectionEnvironment>(kSelectionEnvironmentProgId);
      env->SetCombinationMethod((shift & 1) ? selectionAdd : selectionNew);
      map->SelectByShape(HostMapControl::PolygonOf(shape, map->SpatialReference()), env, click);
      break;
    }
    case Tool::DrawPolygon: {
      PolygonPtr polygon = m_control->TrackPolygon();
      if (polygon->PointCount() < 4) break;
      AddPolygonGraphic(*map, polygon, false);
      break;
    }
    }
    m_control->Refresh(); // whatever the tool changed
    Save();
  } catch (const HostError& e) {
    QMessageBox::warning(this, tr("Tovana"), Q(e.Description()));
  }
}

void MainWindow::RunStudyAreaSetup() {
  if (!IsClassRegistered(kSetupStudyAreaMainProgId)) {
    QMessageBox::information(this, tr("Study Area Setup"), tr("Study Area Setup is not installed."));
    return;
  }
  try {
    AfterSetup(RunHostTask(*m_analysis), true);
  } catch (const HostError& e) {
    QMessageBox::warning(this, tr("Study Area Setup"), Q(e.Description()));
  }
}

void MainWindow::AfterSetup(const HostTaskRunResult& result, bool tell) {
  // Judged from what the analysis holds now, as on the command line; a
  // wizard the user left says nothing.
  tell = tell && (result.Stored() || result.pageResult == 0);
  m_outcome = !tell ? QString()
              : result.Stored() ? tr("Study area \"%1\" stored.").arg(Q(result.studyAreaName.empty() ? result.currentStudyArea : result.studyAreaName))
                                : Q(DescribeNothingStored(result));
  Save();
  m_canvas->Reload();
  Reload();
  if (tell && !result.Stored()) MsgBox(DescribeNothingStored(result), vbInformation, "Study Area Setup");
}

void MainWindow::RunStudyAreaAction(StudyAreaAction action, const std::string& studyArea) {
  try {
    if (action == StudyAreaAction::Properties) {
      StudyAreaRecordPtr record = Must(m_analysis->dataManager->GetStudyAreaCatalog(), "the study area catalogue")
                                      ->Item(studyArea);
      auto task = CreateAs<ITovTask>(kPropertySheetTaskProgId);
      Variant value(record);
      task->SetParam("StudyArea", value);
      if (task->Init(m_analysis->dataManager, m_analysis->application) && task->InitParamSelector() &&
          task->DoParamSelector() == 0 && task->InitFunction())
        task->StartFunction();
      task->Cleanup();
      AfterSetup(HostTaskRunResult(), false);
      return;
    }
    // Open, rename and remove go through the chooser as the user would.
    PresenterPtr window = GetPresenter();
    SetPresenter(std::make_shared<ChooserPlayer>(window, studyArea, action == StudyAreaAction::Open));
    struct Restore {
      PresenterPtr presenter;
      ~Restore() { SetPresenter(presenter); }
    } restore{window};
    AfterSetup(RunHostTask(*m_analysis), false);
  } catch (const HostError& e) {
    QMessageBox::warning(this, tr("Study Area Setup"), Q(e.Description()));
  }
}

QMenu* MainWindow::ContextMenuFor(QTreeWidgetItem* item) {
  if (!item) return nullptr;
  const auto index = item->data(0, Qt::UserRole).toULongLong();
  if (index >= m_itemLayers.size()) return nullptr;
  const std::string name = m_itemLayers[index]->Name();
  StudyAreaCatalogPtr catalog = m_analysis->dataManager->GetStudyAreaCatalog();
  if (!catalog || !catalog->Exists(name) || !As<FeatureLayer>(m_itemLayers[index])) return nullptr;
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  auto add = [&](const QString& text, StudyAreaAction action) {
    QAction* a = menu->addAction(text);
    a->setObjectName(text);
    connect(a, &QAction::triggered, this, [this, action, name] { RunStudyAreaAction(action, name); });
  };
  add(tr("Open"), StudyAreaAction::Open);
  add(tr("Rename"), StudyAreaAction::Rename);
  add(tr("Properties"), StudyAreaAction::Properties);
  add(tr("Remove"), StudyAreaAction::Remove);
  return menu;
}

} // namespace tov
